#pragma once

#include "core/services.h"
#include "desktop/color_scheme.h"
#include "shelf/bucket_item.h"
#include "views/coordinator.h"

#include <QWidget>

class QGraphicsOpacityEffect;
class QPropertyAnimation;

namespace panel {
class DragMonitor;
}

namespace views {

class DraggableView;
class SymbolButton;

// What a tile asks of the shelf around it. Each may outlive the tile (a successful drag-out
// runs onRemove 0.3 s after the drop), so none may capture the tile.
struct TileActions {
    // Removes this entry from the shelf; run by the remove control and after a successful
    // drag-out of an unlocked entry.
    Action onRemove;
    // A drag out of this tile is about to begin.
    Action onDragStart;
    // The drag out of this tile has ended, whatever its outcome.
    Action onDragEnd;
};

// One shelf entry as a 150 by 90 tile that can be dragged out. The entry is bound to the
// shelf by its id: the tile reads it from the drag monitor's shelf whenever the shelf changes
// and writes lock changes back there. While the pointer is over the tile a column of
// controls shows: lock toggle, split (several payloads only) and remove.
class BucketItemView final : public QWidget {
    Q_OBJECT
public:
    static constexpr QSize kSize{150, 90};

    // Needs the main queue, log, drag session, workspace and symbols of `services`.
    BucketItemView(shelf::BucketItem item, panel::DragMonitor& dragMonitor, TileActions actions,
                   const core::Services& services, desktop::ColorScheme colorScheme,
                   QWidget* parent = nullptr);

    // The entry as the shelf holds it now (the last value seen once it has left the shelf).
    const shelf::BucketItem& item() const { return m_item; }
    // Binds the tile to another entry (a list reusing its rows).
    void setItem(const shelf::BucketItem& item);
    void setActions(TileActions actions);
    desktop::ColorScheme colorScheme() const { return m_colorScheme; }
    void setColorScheme(desktop::ColorScheme colorScheme);
    bool isHovering() const { return m_isHovering; }

    DraggableView* draggableView() const { return m_draggableView; }
    QWidget* controlsColumn() const { return m_controls; }
    QWidget* contentFace() const;

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void build();
    void buildControls();
    void placeControls();
    void setHovering(bool isHovering);
    void readFromShelf();

    void toggleLock();
    void split();
    void remove();

    shelf::BucketItem m_item;
    qsizetype m_shelfIndexHint = -1;
    panel::DragMonitor& m_dragMonitor;
    TileActions m_actions;
    core::Services m_services;
    desktop::ColorScheme m_colorScheme;
    bool m_isHovering = false;

    DraggableView* m_draggableView = nullptr;
    QWidget* m_controls = nullptr;
    SymbolButton* m_lockButton = nullptr;
    SymbolButton* m_splitButton = nullptr;
    SymbolButton* m_removeButton = nullptr;
    QGraphicsOpacityEffect* m_controlsOpacity = nullptr;
    QPropertyAnimation* m_controlsAnimation = nullptr;
};

} // namespace views
