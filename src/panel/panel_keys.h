#pragma once

#include <QObject>

#include <functional>

namespace backend {
class GlobalShortcuts;
}

namespace panel {

class DragMonitor;

// The panel never takes the keyboard focus, so its keys are taken system wide while the
// pointer is over it, and given back when it leaves or a drag starts: Ctrl+Z undoes the newest
// removal, Ctrl+V pastes into the shelf. GUI thread.
class PanelKeys final : public QObject {
    Q_OBJECT
public:
    // `paste` makes an entry of the clipboard. Everything must outlive this object.
    PanelKeys(backend::GlobalShortcuts& shortcuts, DragMonitor& dragMonitor,
              std::function<void()> paste, QObject* parent = nullptr);
    ~PanelKeys() override;

    bool isHoldingKeys() const { return m_isHoldingKeys; }

private:
    void followPointer();
    void setHoldingKeys(bool hold);

    backend::GlobalShortcuts& m_shortcuts;
    DragMonitor& m_dragMonitor;
    std::function<void()> m_paste;
    bool m_isHoldingKeys = false;
    bool m_hasUndo = false;
    bool m_hasPaste = false;
};

} // namespace panel
