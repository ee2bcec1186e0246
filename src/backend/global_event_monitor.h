#pragma once

#include <QObject>

namespace backend {

// Sees input delivered to other applications, system wide; never Holdfin's own. GUI thread
// only: the signals are emitted there, and receivers must not change model state themselves
// (they submit changes to the main queue). Where the platform cannot deliver such input, no
// signal is ever emitted.
class GlobalEventMonitor : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Keys are watched only while asked for: Escape means something only during a drag or
    // while the shelf is shown on request, and watching every key of the session would wake
    // Holdfin at each one.
    void setWatchingKeys(bool isWatching);
    bool isWatchingKeys() const { return m_isWatchingKeys; }
    // Told by Holdfin's own drag session while it runs. Meanwhile only escapePressed is
    // emitted, keys watched or not, so that Escape can cancel that drag.
    void setOwnDragInProgress(bool inProgress);
    bool isOwnDragInProgress() const { return m_isOwnDragInProgress; }

signals:
    // The left button moved while held down.
    void leftButtonDragged();
    void leftButtonReleased();
    void escapePressed();

protected:
    // Whether key presses must reach the monitor now.
    bool wantsKeys() const { return m_isWatchingKeys || m_isOwnDragInProgress; }
    // wantsKeys() has changed.
    virtual void keysWantedChanged() {}
    // Holdfin's own drag has just ended.
    virtual void ownDragEnded() {}

    // What a back-end reports through; each drops what the rules above keep quiet.
    void reportLeftButtonDragged();
    void reportLeftButtonReleased();
    void reportEscapePressed();

private:
    void updateKeys(bool wasWanted);

    bool m_isWatchingKeys = false;
    bool m_isOwnDragInProgress = false;
};

} // namespace backend
