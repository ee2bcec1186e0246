#include "fake_drag_session.h"

#include <QtGlobal>

namespace testing_support {

void FakeDragSession::startDrag(QObject& view, QPointF position, QList<backend::DragItem> items,
                                std::shared_ptr<backend::DragSource> source) {
    m_sessions.push_back({&view, position, std::move(items), std::move(source), false});
}

void FakeDragSession::endLatest(Qt::DropAction operation, bool isHandedOver) {
    Q_ASSERT(!m_sessions.empty() && !m_sessions.back().isEnded);
    Session& session = m_sessions.back();
    session.isEnded = true;
    const std::shared_ptr<backend::DragSource> source = std::move(session.source);
    source->dragFinished(QPoint(), operation);
    if (operation != Qt::IgnoreAction)
        source->dropHandedOver(isHandedOver);
}

} // namespace testing_support
