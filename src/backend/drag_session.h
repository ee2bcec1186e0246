#pragma once

#include <QList>
#include <QPixmap>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QString>
#include <QUrl>
#include <qnamespace.h>

#include <memory>
#include <variant>

class QObject;

namespace backend {

enum class DragContext { OutsideApplication, WithinApplication };

// One thing a drag carries: a URL or a string, with the image shown for it.
struct DragItem {
    std::variant<QUrl, QString> writer;
    // Where the image sits, in the coordinates of the view the drag starts from.
    QRect frame;
    QPixmap image;
};

// The source side of a drag session.
class DragSource {
public:
    virtual ~DragSource() = default;
    // The actions the destination may perform; asked when the session begins.
    virtual Qt::DropActions supportedDropActions(DragContext context) = 0;
    // Called once, when the session is over, with what the destination performed:
    // Qt::IgnoreAction when it refused the drop or the user cancelled.
    virtual void dragFinished(QPoint endPoint, Qt::DropAction action) = 0;
    // Called once after an accepted drop: whether the destination was handed any of the data
    // offered. A destination that reports success without asking was handed nothing.
    virtual void dropHandedOver(bool isHandedOver) { Q_UNUSED(isHandedOver); }
};

// Runs system drags that Holdfin starts itself.
class DragSession {
public:
    virtual ~DragSession() = default;
    // Starts a drag of `items` from `view`, the pointer being at `position` in the view's
    // coordinates, and keeps `source` alive until it was told the end. GUI thread only; may
    // return before or after the end. A drag asked for while another runs ends at once with
    // Qt::IgnoreAction.
    virtual void startDrag(QObject& view, QPointF position, QList<DragItem> items,
                           std::shared_ptr<DragSource> source) = 0;
};

} // namespace backend
