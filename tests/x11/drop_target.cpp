// holdfin_test_drop_target: a Qt window that accepts drops and prints what it received.
//
//   holdfin_test_drop_target [--at X,Y] [--accept copy|move|link|refuse]
//
// The 300x300 window sits at --at (default 600,100) and accepts every drag with the --accept
// action (default copy); "refuse" rejects every drag. Standard output, one line each:
//   ready X Y W H            the window is shown; its global geometry
//   enter MIME...            a drag entered; the MIME types it offers, separated by spaces
//   offered ACTION...        right after: the actions the source allows (copy, move, link)
//   data MIME BASE64         for each offered MIME type of a drop: its data, base64
//   dropped ACTION           the drop is over; the action accepted (copy, move or link)
#include "test_program.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace {

using test_programs::say;

class DropTarget final : public QWidget {
public:
    explicit DropTarget(std::optional<Qt::DropAction> action) : m_action(action) {
        setWindowFlag(Qt::FramelessWindowHint);
        setAcceptDrops(true);
        resize(300, 300);
    }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override {
        say(QStringLiteral("enter ") + event->mimeData()->formats().join(QLatin1Char(' ')));
        QStringList offered;
        if (event->possibleActions() & Qt::CopyAction)
            offered << QStringLiteral("copy");
        if (event->possibleActions() & Qt::MoveAction)
            offered << QStringLiteral("move");
        if (event->possibleActions() & Qt::LinkAction)
            offered << QStringLiteral("link");
        say(QStringLiteral("offered ") + offered.join(QLatin1Char(' ')));
        accept(event);
    }
    void dragMoveEvent(QDragMoveEvent* event) override { accept(event); }
    void dropEvent(QDropEvent* event) override {
        if (!m_action) {
            event->ignore();
            return;
        }
        const QMimeData* data = event->mimeData();
        for (const QString& format : data->formats())
            say(QStringLiteral("data %1 %2")
                    .arg(format, QString::fromLatin1(data->data(format).toBase64())));
        event->setDropAction(*m_action);
        event->accept();
        const char* names[] = {"copy", "move", "link"};
        const int index = *m_action == Qt::CopyAction ? 0 : *m_action == Qt::MoveAction ? 1 : 2;
        say(QStringLiteral("dropped ") + QLatin1String(names[index]));
    }

private:
    void accept(QDragMoveEvent* event) {
        if (!m_action || !(event->possibleActions() & *m_action)) {
            event->ignore();
            return;
        }
        event->setDropAction(*m_action);
        event->accept();
    }

    std::optional<Qt::DropAction> m_action;
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    test_programs::quitOnTerminationSignal(app);
    QStringList args = QApplication::arguments().mid(1);
    const QPoint at = test_programs::takePosition(args, QPoint(600, 100));
    const QString accept =
        test_programs::takeOption(args, QStringLiteral("--accept")).value_or("copy");
    std::optional<Qt::DropAction> action;
    if (accept == QLatin1String("copy"))
        action = Qt::CopyAction;
    else if (accept == QLatin1String("move"))
        action = Qt::MoveAction;
    else if (accept == QLatin1String("link"))
        action = Qt::LinkAction;
    else if (accept != QLatin1String("refuse")) {
        std::fprintf(stderr, "usage: holdfin_test_drop_target [--at X,Y] "
                             "[--accept copy|move|link|refuse]\n");
        return 2;
    }
    DropTarget target(action);
    target.move(at);
    target.show();
    test_programs::announceWhenReady(target);
    return QApplication::exec();
}
