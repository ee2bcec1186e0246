#pragma once

#include "shelf/drop_intake.h"

#include <QVariantAnimation>
#include <QWidget>

class QDropEvent;

namespace backend {
class DragSelection;
}
namespace core {
class DiagnosticLog;
class MainQueue;
} // namespace core
namespace desktop {
class SymbolImage;
}
namespace shelf {
class MimeItemProviderFactory;
}

namespace views {

// The shelf's drop target: one symbol centred in whatever space it is given. A drop of file
// URLs, text, images or movies becomes one shelf entry through DropIntake; the symbol fills
// in and turns blue while an acceptable drag hovers. Works standalone in any window.
class DropRegionView final : public QWidget {
    Q_OBJECT
public:
    // The main queue and log serve the drop intake; `providerFactory` reads each drop's data;
    // `addItem` receives each drop's entry on the GUI thread (see DropIntake for lifetimes).
    // Optional: `symbols` draws the region's symbol (null: our own artwork); `dragSelection` tells
    // sources that never answered (null: every source counts as answering). All must outlive
    // the view.
    DropRegionView(core::MainQueue& mainQueue, core::DiagnosticLog& log,
                   const desktop::SymbolImage* symbols, backend::DragSelection* dragSelection,
                   shelf::MimeItemProviderFactory& providerFactory,
                   shelf::DropIntake::AddItem addItem, QWidget* parent = nullptr);

    bool isDragTargeted() const { return m_isDragTargeted; }
    // 0 when idle, 1 when targeted; follows isDragTargeted on a spring (may overshoot).
    double targetedProgress() const { return m_progress; }
    // The symbol currently standing for the region's state.
    QString symbolName() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void isDragTargetedChanged();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void setDragTargeted(bool value);
    bool canTake(const QDropEvent& event) const;
    void takeOverDrop();
    QPixmap symbol(const QString& name, const QColor& color) const;

    shelf::DropIntake m_intake;
    const desktop::SymbolImage* m_symbols;   // our own artwork when none are given
    backend::DragSelection* m_dragSelection; // none: every source counts as answering
    shelf::MimeItemProviderFactory& m_providerFactory;
    bool m_isDragTargeted = false;
    double m_progress = 0;
    double m_progressFrom = 0;
    QVariantAnimation m_spring;
};

} // namespace views
