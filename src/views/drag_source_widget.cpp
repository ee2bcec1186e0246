#include "drag_source_widget.h"

#include "coordinator.h"
#include "core/diagnostic_log.h"
#include "core/hand_over.h"
#include "core/main_queue.h"
#include "drag_items.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPointer>
#include <QThreadPool>
#include <QVBoxLayout>

#include <cmath>

namespace views {

namespace {

constexpr double kDragThreshold = 3.0;

// Up to this many payloads are prepared for a drag at once, in well under a frame.
constexpr qsizetype kPayloadsPreparedInline = 1000;

QList<shelf::BucketItemData> filtered(const DragSourceWidget::PayloadFilter& filter,
                                      const QList<shelf::BucketItemData>& payloads) {
    return filter ? filter(payloads) : payloads;
}

} // namespace

DragSourceWidget::DragSourceWidget(QWidget* hostedContent, std::shared_ptr<Coordinator> coordinator,
                                   backend::DragSession& dragSession, core::MainQueue& mainQueue,
                                   core::DiagnosticLog& log, QWidget* parent)
    : QWidget(parent), m_coordinator(std::move(coordinator)), m_dragSession(dragSession),
      m_mainQueue(mainQueue), m_log(log) {
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
    ++m_pressCount;
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
    const QList<shelf::BucketItemData> payloads = coordinator->item().items;
    if (payloads.size() <= kPayloadsPreparedInline) {
        // An entry with nothing left to offer is not dragged at all, so no destination can
        // report it taken.
        const QList<shelf::BucketItemData> present = filtered(m_payloadFilter, payloads);
        if (present.isEmpty() && !payloads.isEmpty()) {
            emit filesFoundMissing();
            return;
        }
        coordinator->runOnDragStart();
        if (self)
            beginDrag(position, makeDragItems(present, &m_log));
        return;
    }
    coordinator->runOnDragStart();
    if (!self)
        return;
    // Preparing 100,000 payloads would hold the GUI thread for a fifth of a second; a pool
    // thread prepares them and the session begins once they are ready, if the button is still
    // down. Otherwise the drag ends there, as one the user cancelled.
    core::startOnPool(*QThreadPool::globalInstance(), [self, coordinator, payloads, &log = m_log,
                                                       &mainQueue = m_mainQueue, position,
                                                       press = m_pressCount,
                                                       filter = m_payloadFilter] {
        mainQueue.async([self, coordinator, position, press,
                         items = makeDragItems(filtered(filter, payloads), &log)]() mutable {
            const bool isWanted = self && self->m_pressCount == press && self->m_isDragStarted &&
                                  self->m_initialPoint;
            if (isWanted && !items.isEmpty()) {
                self->beginDrag(position, std::move(items));
                return;
            }
            if (self && items.isEmpty())
                emit self->filesFoundMissing();
            coordinator->dragFinished(QCursor::pos(), Qt::IgnoreAction);
        });
    });
}

void DragSourceWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
}

void DragSourceWidget::beginDrag(QPointF position, QList<backend::DragItem> items) {
    // One snapshot serves every item: they all show the whole tile, stacked.
    const QPixmap snapshot = rect().isEmpty() ? QPixmap() : grab();
    for (backend::DragItem& item : items) {
        item.frame = rect();
        item.image = snapshot;
    }
    m_dragSession.startDrag(*this, position, std::move(items), m_coordinator);
}

} // namespace views
