#include "backend/qt_drag_session.h"

#include "backend/global_event_monitor.h"

#include <QCursor>
#include <QDrag>
#include <QGuiApplication>
#include <QMimeData>

namespace backend {

namespace {

const QString kUriList = QStringLiteral("text/uri-list");
const QString kPlainText = QStringLiteral("text/plain");

// The data of one drag, answered as built: QMimeData would parse a URI list into URLs when
// it is set and encode them again for each request, which for 100,000 files holds the GUI
// thread for a noticeable time, and could alter bytes. Qt also answers a text/plain request
// that has no text of its own with the URLs of the data, and its X11 backend offers text/plain
// with every URL list; receivers that prefer text would then take a file URL as a bare path,
// so text/plain without strings answers nothing.
class DragMimeData final : public QMimeData {
public:
    DragMimeData(QByteArray uriList, QByteArray text)
        : m_uriList(std::move(uriList)), m_text(std::move(text)) {}

    QStringList formats() const override {
        QStringList formats;
        if (!m_uriList.isEmpty())
            formats << kUriList;
        if (!m_text.isEmpty())
            formats << kPlainText;
        return formats;
    }

    bool hasFormat(const QString& mimeType) const override {
        return (mimeType == kUriList && !m_uriList.isEmpty()) ||
               (mimeType == kPlainText && !m_text.isEmpty());
    }

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override {
        if (mimeType == kPlainText) {
            if (type.id() == QMetaType::QString)
                return QString::fromUtf8(m_text);
            return m_text;
        }
        if (mimeType == kUriList && !m_uriList.isEmpty()) {
            if (type.id() != QMetaType::QByteArray) {
                QVariantList urls;
                for (const QByteArray& line : m_uriList.split('\n')) {
                    if (const QByteArray uri = line.trimmed(); !uri.isEmpty())
                        urls << QUrl::fromEncoded(uri);
                }
                return urls;
            }
            return m_uriList;
        }
        return {};
    }

private:
    QByteArray m_uriList;
    QByteArray m_text;
};

} // namespace

QtDragSession::QtDragSession(GlobalEventMonitor& eventMonitor, QObject* parent)
    : QObject(parent), m_eventMonitor(eventMonitor) {
    // The panel never has the keyboard focus, so Qt never sees the Escape that cancels a drag
    // in every other X11 drag source.
    connect(&m_eventMonitor, &GlobalEventMonitor::escapePressed, this, [this] {
        if (m_isDragging)
            QDrag::cancel();
    });
}

void QtDragSession::beginDraggingSession(QObject& view, QPointF position, QList<DraggingItem> items,
                                         std::shared_ptr<DraggingSource> source) {
    Q_UNUSED(view);
    if (m_isDragging || items.isEmpty()) {
        source->draggingSessionEnded(QCursor::pos(), Qt::IgnoreAction);
        return;
    }
    // The drag object belongs to this long-lived session rather than to the view, so a view
    // taken down while its drag runs does not take the drag with it.
    auto* drag = new QDrag(this);
    drag->setMimeData(makeDragMimeData(items).release());
    const DraggingItem& first = items.constFirst();
    if (!first.image.isNull()) {
        drag->setPixmap(first.image);
        drag->setHotSpot((position - QPointF(first.frame.topLeft())).toPoint());
    }
    const Qt::DropActions actions =
        source->supportedDropActions(DraggingContext::OutsideApplication);

    m_isDragging = true;
    emit dragStarting(*drag->mimeData());
    m_eventMonitor.setOwnDragInProgress(true);
    // Qt deletes the drag object once exec() has returned.
    const Qt::DropAction result =
        drag->exec(actions, proposedDropAction(actions, QGuiApplication::queryKeyboardModifiers()));
    m_eventMonitor.setOwnDragInProgress(false);
    m_isDragging = false;
    emit dragEnded();
    source->draggingSessionEnded(QCursor::pos(), performedAction(result));
}

std::unique_ptr<QMimeData> makeDragMimeData(const QList<DraggingItem>& items) {
    QByteArray uriList;
    QStringList strings;
    for (const DraggingItem& item : items) {
        if (const auto* url = std::get_if<QUrl>(&item.writer))
            uriList += url->toEncoded() + "\r\n";
        else
            strings << std::get<QString>(item.writer);
    }
    return std::make_unique<DragMimeData>(std::move(uriList),
                                          strings.join(QLatin1Char('\n')).toUtf8());
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
