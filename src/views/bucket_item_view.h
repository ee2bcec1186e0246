#pragma once

#include "desktop/color_scheme.h"
#include "shelf/bucket_item.h"
#include "views/coordinator.h"

#include <QPersistentModelIndex>
#include <QPointer>
#include <QWidget>

class QGraphicsOpacityEffect;
class QLabel;
class QMenu;
class QVariantAnimation;

namespace backend {
class DragSession;
}

namespace core {
class DiagnosticLog;
class MainQueue;
} // namespace core

namespace desktop {
class SymbolImage;
class Thumbnails;
class DesktopServices;
} // namespace desktop

namespace panel {
class DragMonitor;
}

namespace views {

class ContentFace;
class DraggableView;
class SymbolButton;

// What a tile asks of the shelf around it. Each may outlive the tile (a successful drag-out
// runs onRemove 0.3 s after the drop), so none may capture the tile.
struct TileActions {
    // Removes this entry from the shelf, undoably; run after a successful drag-out of an
    // unlocked entry, and by the remove control.
    Action onRemove;
    // A drag out of this tile is about to begin.
    Action onDragStart;
    // The drag out of this tile has ended, whatever its outcome.
    Action onDragEnd;
};

// One shelf entry as a 150 by 90 tile that can be dragged out. The entry is bound to its row
// of the drag monitor's shelf model: the tile shows it anew whenever the model reports that
// row changed, and writes lock changes back through the drag monitor. While the pointer is
// over the tile a column of controls fades in: lock toggle, split (several payloads only) and
// remove; a locked entry shows a small lock at all times. A right click offers a menu (open,
// show in folder, copy, copy path, lock, split, remove); a double click opens the entry.
// The tile looks for its files when the pointer enters it and when a drag out begins: once
// all of them are gone it is dimmed and says so in its tooltip.
// With the keyboard focus it draws a ring; Return opens the entry,
// Space locks or unlocks it, Delete removes it (undoably), Ctrl+C copies it, and the Menu key
// or Shift+F10 opens its menu.
class BucketItemView final : public QWidget {
    Q_OBJECT
public:
    static constexpr QSize kSize{150, 90};

    // `entry` is the entry's row in dragMonitor.shelfModel(). The main queue, drag session and
    // log serve drags out of the tile; the desktop services, thumbnails and symbols its pictures,
    // and the desktop services opens its files. The monitor and every service must outlive the
    // tile.
    BucketItemView(const QPersistentModelIndex& entry, panel::DragMonitor& dragMonitor,
                   TileActions actions, core::MainQueue& mainQueue,
                   backend::DragSession& dragSession, core::DiagnosticLog& log,
                   desktop::DesktopServices& desktopServices, desktop::Thumbnails& thumbnails,
                   const desktop::SymbolImage& symbols, desktop::ColorScheme colorScheme,
                   QWidget* parent = nullptr);

    // The entry as the shelf holds it now (the last value seen once it has left the shelf).
    const shelf::BucketItem& item() const { return m_item; }
    desktop::ColorScheme colorScheme() const { return m_colorScheme; }
    void setColorScheme(desktop::ColorScheme colorScheme);
    bool isHovering() const { return m_isHovering; }
    // Whether every file of the entry was found gone at the last look.
    bool isMissing() const { return m_isMissing; }
    // What the tooltip says now: that the files are gone, or the full name of an elided
    // caption; empty otherwise.
    QString toolTipText() const;

    DraggableView* draggableView() const { return m_draggableView; }
    QWidget* controlsColumn() const { return m_controls; }
    // The lock, split (shown for several payloads only) and remove controls.
    QList<QWidget*> controls() const;
    QWidget* contentFace() const;
    QWidget* lockBadge() const;
    // The context menu while it is open.
    QMenu* contextMenu() const;

    // The entry's commands, as its menu runs them.
    void open();
    void showInFolder();
    void copy();
    void copyPath();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void build();
    void buildControls(const desktop::SymbolImage& symbols);
    void placeControls();
    void setHovering(bool isHovering);
    void openContextMenu(const QPoint& globalPos);
    void describe();
    void readFromShelf();
    void onRowsChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight);
    void setMissing(bool isMissing);
    void lookForFiles();
    QMenu* buildContextMenu();

    void toggleLock();
    void split();
    void remove();

    QPersistentModelIndex m_entry;
    shelf::BucketItem m_item;
    panel::DragMonitor& m_dragMonitor;
    TileActions m_actions;
    desktop::ColorScheme m_colorScheme;
    bool m_isHovering = false;
    bool m_isMissing = false;
    desktop::DesktopServices& m_desktopServices;
    const desktop::SymbolImage& m_symbols;

    ContentFace* m_face = nullptr; // owned by the drag source inside m_draggableView
    DraggableView* m_draggableView = nullptr;
    QWidget* m_controls = nullptr;
    SymbolButton* m_lockButton = nullptr;
    SymbolButton* m_splitButton = nullptr;
    SymbolButton* m_removeButton = nullptr;
    qreal m_controlsOpacity = 0.0;
    QVariantAnimation* m_controlsAnimation = nullptr;
    QLabel* m_lockBadge = nullptr;
    QWidget* m_focusRing = nullptr;
    QGraphicsOpacityEffect* m_dimming = nullptr; // while the files are missing
    QPointer<QMenu> m_contextMenu;
};

} // namespace views
