#include "drag_source_widget.h"

#include "coordinator.h"
#include "payload_url.h"
#include "platform/diagnostic_log.h"

#include <QMouseEvent>
#include <QPointer>
#include <QVBoxLayout>

#include <cmath>

namespace views {

using platform::UTType;

namespace {

constexpr double kDragThreshold = 3.0;

bool isFileLike(const UTType& type) {
    return type.conforms(UTType::fileURL) || type.conforms(UTType::image) ||
           type.conforms(UTType::folder);
}

} // namespace

DragSourceWidget::DragSourceWidget(QWidget* hostedContent, std::shared_ptr<Coordinator> coordinator,
                                   platform::DragSession& dragSession, platform::DiagnosticLog& log,
                                   QWidget* parent)
    : QWidget(parent), m_coordinator(std::move(coordinator)), m_dragSession(dragSession),
      m_log(log) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setHostedContent(hostedContent);
}

void DragSourceWidget::setHostedContent(QWidget* content) {
    delete m_hostedContent;
    m_hostedContent = content;
    if (!content)
        return;
    // The content only draws; its presses belong to this widget.
    content->setAttribute(Qt::WA_TransparentForMouseEvents);
    layout()->addWidget(content);
    content->show();
    layout()->activate();
}

void DragSourceWidget::mousePressEvent(QMouseEvent* event) {
    QWidget::mousePressEvent(event);
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    m_initialPoint = event->position();
    m_isDragStarted = false;
}

void DragSourceWidget::mouseReleaseEvent(QMouseEvent* event) {
    QWidget::mouseReleaseEvent(event);
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    m_isDragStarted = false;
    m_initialPoint.reset();
}

void DragSourceWidget::mouseMoveEvent(QMouseEvent* event) {
    if (!m_initialPoint || m_isDragStarted || !(event->buttons() & Qt::LeftButton))
        return;
    const QPointF position = event->position();
    const QPointF delta = position - *m_initialPoint;
    if (std::hypot(delta.x(), delta.y()) < kDragThreshold)
        return;
    m_isDragStarted = true;

    // The actions may rebuild or even take down this widget; the coordinator outlives it.
    const std::shared_ptr<Coordinator> coordinator = m_coordinator;
    const QPointer<DragSourceWidget> self(this);
    coordinator->runOnDragStart();
    if (!self)
        return;
    m_dragSession.beginDraggingSession(*this, position, makeDraggingItems(), coordinator);
}

QList<platform::DraggingItem> DragSourceWidget::makeDraggingItems() {
    // One snapshot serves every item: they all show the whole tile, stacked.
    const QPixmap snapshot = rect().isEmpty() ? QPixmap() : grab();
    QList<platform::DraggingItem> items;
    for (const shelf::BucketItemData& payload : m_coordinator->item().items) {
        platform::DraggingItem item{QString(), rect(), snapshot};
        const std::optional<QUrl> url =
            isFileLike(payload.type) ? urlFromString(payload.content) : std::nullopt;
        if (url) {
            platform::print(m_log, "providing file url", QString::fromLatin1(url->toEncoded()));
            item.writer = *url;
        } else {
            platform::print(m_log, "providing string", payload.content);
            item.writer = payload.content;
        }
        items << item;
    }
    return items;
}

} // namespace views
