#include "panel/panel_keys.h"

#include "backend/global_shortcuts.h"
#include "panel/drag_monitor.h"

namespace panel {

namespace {
constexpr QKeyCombination kUndo(Qt::ControlModifier, Qt::Key_Z);
constexpr QKeyCombination kPaste(Qt::ControlModifier, Qt::Key_V);
} // namespace

PanelKeys::PanelKeys(backend::GlobalShortcuts& shortcuts, DragMonitor& dragMonitor,
                     std::function<void()> paste, QObject* parent)
    : QObject(parent), m_shortcuts(shortcuts), m_dragMonitor(dragMonitor),
      m_paste(std::move(paste)) {
    connect(&m_dragMonitor, &DragMonitor::isCursorInsideChanged, this, &PanelKeys::followPointer);
    connect(&m_dragMonitor, &DragMonitor::isDraggingChanged, this, &PanelKeys::followPointer);
    connect(&m_shortcuts, &backend::GlobalShortcuts::activated, this,
            [this](QKeyCombination pressed) {
                if (!m_isHoldingKeys)
                    return;
                if (pressed == kUndo)
                    m_dragMonitor.history().undo();
                else if (pressed == kPaste && m_paste)
                    m_paste();
            });
    followPointer();
}

PanelKeys::~PanelKeys() {
    setHoldingKeys(false);
}

void PanelKeys::followPointer() {
    // Where taken keys are heard only from X windows (a Wayland session), the panel, which
    // never has the focus, cannot have them; taking them there while a compositor's drag drops
    // on the panel makes the drop lose its data now and then. A drag has no use for them.
    setHoldingKeys(m_shortcuts.seesEveryWindow() && m_dragMonitor.isCursorInside() &&
                   !m_dragMonitor.isDragging());
}

void PanelKeys::setHoldingKeys(bool hold) {
    if (hold == m_isHoldingKeys)
        return;
    m_isHoldingKeys = hold;
    if (hold) {
        // A key another program holds is simply not available over the panel.
        m_hasUndo = m_shortcuts.grab(kUndo);
        m_hasPaste = m_shortcuts.grab(kPaste);
        return;
    }
    if (m_hasUndo)
        m_shortcuts.release(kUndo);
    if (m_hasPaste)
        m_shortcuts.release(kPaste);
    m_hasUndo = m_hasPaste = false;
}

} // namespace panel
