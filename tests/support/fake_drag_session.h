#pragma once

#include "backend/drag_session.h"

#include <vector>

namespace testing_support {

// Records the drags begun; a test ends them with the operation a destination would perform.
class FakeDragSession final : public backend::DragSession {
public:
    struct Session {
        QObject* view = nullptr;
        QPointF position;
        QList<backend::DragItem> items;
        std::shared_ptr<backend::DragSource> source;
        bool isEnded = false;
    };

    void startDrag(QObject& view, QPointF position, QList<backend::DragItem> items,
                   std::shared_ptr<backend::DragSource> source) override;

    const std::vector<Session>& sessions() const { return m_sessions; }
    // Ends the latest session as a destination performing `operation` would, having taken data
    // unless `isHandedOver` is false; the session then lets go of its source.
    void endLatest(Qt::DropAction operation, bool isHandedOver = true);

private:
    std::vector<Session> m_sessions;
};

} // namespace testing_support
