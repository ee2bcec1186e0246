#include "backend/qt_drag_session.h"

#include "backend/drop_hold.h"
#include "backend/global_event_monitor.h"

#include <QCursor>
#include <QDrag>
#include <QGuiApplication>
#include <QMimeData>
#include <QTimer>

#include <chrono>
#include <optional>
#include <utility>

namespace backend {

namespace {

const QString kUriList = QStringLiteral("text/uri-list");
const QString kPlainText = QStringLiteral("text/plain");

// How long a destination that accepted a drop has to ask for its data; one that asks later
// finds the entry still on the shelf, which is safe.
constexpr std::chrono::seconds kHandOverWait{5};

// The data of one drag, answered as built: QMimeData would parse a URI list into URLs when
// it is set and encode them again for each request, which for 100,000 files holds the GUI
// thread for a noticeable time, and could alter bytes. Every answer with data counts as a
// hand-over.
class DragMimeData final : public QMimeData {
public:
    DragMimeData(DragOffer offer, std::shared_ptr<HandOver> handOver)
        : m_offer(std::move(offer)), m_handOver(std::move(handOver)) {}

    QStringList formats() const override { return m_offer.mimeFormats; }
    bool hasFormat(const QString& mimeType) const override { return !bytes(mimeType).isEmpty(); }

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override {
        const QByteArray data = bytes(mimeType);
        if (data.isEmpty())
            return {};
        if (m_handOver)
            m_handOver->markDone();
        if (mimeType == kPlainText && type.id() == QMetaType::QString)
            return QString::fromUtf8(data);
        if (mimeType == kUriList && type.id() != QMetaType::QByteArray) {
            QVariantList urls;
            for (const QByteArray& line : data.split('\n')) {
                if (const QByteArray uri = line.trimmed(); !uri.isEmpty())
                    urls << QUrl::fromEncoded(uri);
            }
            return urls;
        }
        return data;
    }

private:
    // Qt asks for text/plain whichever text target a peer named.
    QByteArray bytes(const QString& mimeType) const {
        return mimeType == kPlainText ? m_offer.text : m_offer.data(mimeType.toLatin1());
    }

    DragOffer m_offer;
    std::shared_ptr<HandOver> m_handOver;
};

} // namespace

void HandOver::markDone() {
    if (isDone)
        return;
    isDone = true;
    if (onDone)
        std::exchange(onDone, {})();
}

QtDragSession::QtDragSession(GlobalEventMonitor& eventMonitor, QObject* parent)
    : QObject(parent), m_eventMonitor(eventMonitor) {
    // The panel never has the keyboard focus, so Qt never sees the Escape that cancels a drag
    // in every other X11 drag source.
    connect(&m_eventMonitor, &GlobalEventMonitor::escapePressed, this, [this] {
        if (m_isDragging)
            QDrag::cancel();
    });
}

void QtDragSession::startDrag(QObject& view, QPointF position, QList<DragItem> items,
                              std::shared_ptr<DragSource> source) {
    Q_UNUSED(view);
    if (m_isDragging || items.isEmpty()) {
        source->dragFinished(QCursor::pos(), Qt::IgnoreAction);
        return;
    }
    // The drag object belongs to this long-lived session rather than to the view, so a view
    // taken down while its drag runs does not take the drag with it.
    DragOffer offer = makeDragOffer(items);
    auto handOver = std::make_shared<HandOver>();
    m_handOver = handOver;
    auto* drag = new QDrag(this);
    drag->setMimeData(new DragMimeData(offer, handOver));
    const DragItem& first = items.constFirst();
    if (!first.image.isNull()) {
        drag->setPixmap(first.image);
        drag->setHotSpot((position - QPointF(first.frame.topLeft())).toPoint());
    }
    const Qt::DropActions actions = source->supportedDropActions(DragContext::OutsideApplication);

    m_isDragging = true;
    emit dragStarting(offer);
    m_eventMonitor.setOwnDragInProgress(true);
    // Qt's drag installs its input filter as exec() starts; the hold's, installed from within
    // the drag's event loop, comes after it and so sees the input first.
    std::optional<DropHold> dropHold;
    if (m_isReadingEarly) {
        dropHold.emplace(m_isReadingEarly, DropHold::Timing{});
        m_dropHold = &*dropHold;
        QTimer::singleShot(0, &*dropHold, [hold = &*dropHold] { hold->install(); });
    }
    // Qt deletes the drag object once exec() has returned.
    const Qt::DropAction result =
        drag->exec(actions, proposedDropAction(actions, QGuiApplication::queryKeyboardModifiers()));
    m_dropHold = nullptr;
    m_eventMonitor.setOwnDragInProgress(false);
    m_isDragging = false;
    emit dragEnded();
    const Qt::DropAction action = performedAction(result);
    source->dragFinished(QCursor::pos(), action);
    if (action != Qt::IgnoreAction)
        awaitHandOver(handOver, std::move(source));
}

void QtDragSession::noteHandedOver() {
    if (auto handOver = m_handOver.lock())
        handOver->markDone();
}

void QtDragSession::setReadingEarlyCheck(std::function<bool()> isReadingEarly) {
    m_isReadingEarly = std::move(isReadingEarly);
}

void QtDragSession::noteDataRequested() {
    if (m_dropHold)
        m_dropHold->noteRead();
}

void QtDragSession::awaitHandOver(const std::shared_ptr<HandOver>& handOver,
                                  std::shared_ptr<DragSource> source) {
    if (handOver->isDone) {
        source->dropHandedOver(true);
        return;
    }
    // Whichever comes first tells the source; the other finds it told.
    struct Verdict {
        std::shared_ptr<DragSource> source;
        void give(bool isHandedOver) {
            if (source)
                std::exchange(source, {})->dropHandedOver(isHandedOver);
        }
    };
    auto verdict = std::make_shared<Verdict>(Verdict{std::move(source)});
    handOver->onDone = [weak = std::weak_ptr(verdict)] {
        if (auto pending = weak.lock())
            pending->give(true);
    };
    QTimer::singleShot(kHandOverWait, this, [verdict] { verdict->give(false); });
}

std::unique_ptr<QMimeData> makeDragMimeData(const QList<DragItem>& items) {
    return std::make_unique<DragMimeData>(makeDragOffer(items), nullptr);
}

Qt::DropAction proposedDropAction(Qt::DropActions actions, Qt::KeyboardModifiers modifiers) {
    const bool canMove = actions.testFlag(Qt::MoveAction);
    if (canMove && (modifiers & Qt::ShiftModifier) && !(modifiers & Qt::ControlModifier))
        return Qt::MoveAction;
    return Qt::CopyAction;
}

Qt::DropAction performedAction(Qt::DropAction result) {
    switch (result) {
    case Qt::CopyAction:
    case Qt::MoveAction:
    case Qt::LinkAction:
        return result;
    case Qt::TargetMoveAction:
        return Qt::MoveAction;
    default:
        return Qt::IgnoreAction;
    }
}

} // namespace backend
