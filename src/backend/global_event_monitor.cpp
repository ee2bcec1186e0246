#include "backend/global_event_monitor.h"

namespace backend {

void GlobalEventMonitor::setWatchingKeys(bool isWatching) {
    const bool wasWanted = wantsKeys();
    m_isWatchingKeys = isWatching;
    updateKeys(wasWanted);
}

void GlobalEventMonitor::setOwnDragInProgress(bool inProgress) {
    const bool wasWanted = wantsKeys();
    const bool hasEnded = m_isOwnDragInProgress && !inProgress;
    m_isOwnDragInProgress = inProgress;
    updateKeys(wasWanted);
    if (hasEnded)
        ownDragEnded();
}

void GlobalEventMonitor::updateKeys(bool wasWanted) {
    if (wantsKeys() != wasWanted)
        keysWantedChanged();
}

void GlobalEventMonitor::reportLeftButtonDragged() {
    if (!m_isOwnDragInProgress)
        emit leftButtonDragged();
}

void GlobalEventMonitor::reportLeftButtonReleased() {
    if (!m_isOwnDragInProgress)
        emit leftButtonReleased();
}

void GlobalEventMonitor::reportEscapePressed() {
    if (wantsKeys())
        emit escapePressed();
}

} // namespace backend
