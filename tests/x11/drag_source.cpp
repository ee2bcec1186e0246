// holdfin_test_drag_source: a Qt window that starts a real XDND drag when pressed and moved.
//
//   holdfin_test_drag_source <mode> [--at X,Y] [--actions copy|move|copymove] [payload...]
//
// mode:
//   files        text/uri-list of the payload paths (default: this program's own file); a
//                payload starting with "file:" is taken as an encoded URL, so that names
//                which are not UTF-8 can be given
//   text         text/plain, the payload words joined by spaces (default "holdfin test text")
//   image        an image (application/x-qt-image, offered as every image format Qt writes)
//   color        application/x-color (red)
//   unreadable   only application/x-holdfin-opaque, which nothing reads
//   unanswering  offers a colour but never answers a request for its data in time (each
//                request blocks the program for 2 s)
//   none         no drag at all: pressing and moving only moves the pointer
// The 300x300 window sits at --at (default 100,100). Standard output, one line each:
//   ready X Y W H          the window is shown; its global geometry
//   drag-started NS        right before the drag starts; NS is CLOCK_MONOTONIC in nanoseconds
//   drag-finished ACTION   the drag ended: copy, move, link or ignore
// Every press starts a new drag, for as long as the program runs.
#include "test_program.h"

#include <QApplication>
#include <QDrag>
#include <QImage>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>

namespace {

using test_programs::say;

class UnansweringMimeData final : public QMimeData {
public:
    // Few enough types that Qt does not list them in XdndTypeList: only asking tells them.
    QStringList formats() const override { return {QStringLiteral("application/x-color")}; }

protected:
    QVariant retrieveData(const QString&, QMetaType) const override {
        std::this_thread::sleep_for(std::chrono::seconds(2));
        return {};
    }
};

QString actionName(Qt::DropAction action) {
    switch (action) {
    case Qt::CopyAction:
        return QStringLiteral("copy");
    case Qt::MoveAction:
        return QStringLiteral("move");
    case Qt::LinkAction:
        return QStringLiteral("link");
    default:
        return QStringLiteral("ignore");
    }
}

class DragSource final : public QWidget {
public:
    DragSource(QString mode, QStringList payload, Qt::DropActions actions)
        : m_mode(std::move(mode)), m_payload(std::move(payload)), m_actions(actions) {
        setWindowFlag(Qt::FramelessWindowHint);
        resize(300, 300);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        m_pressedAt = event->position().toPoint();
        m_isPressed = true;
    }
    void mouseReleaseEvent(QMouseEvent*) override { m_isPressed = false; }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (!m_isPressed || m_mode == QLatin1String("none"))
            return;
        if ((event->position().toPoint() - m_pressedAt).manhattanLength() <
            QApplication::startDragDistance())
            return;
        m_isPressed = false;
        startDrag();
    }

private:
    QMimeData* makeMimeData() const {
        if (m_mode == QLatin1String("unanswering"))
            return new UnansweringMimeData;
        auto* data = new QMimeData;
        if (m_mode == QLatin1String("files")) {
            QList<QUrl> urls;
            for (const QString& path : m_payload)
                urls.append(path.startsWith(QLatin1String("file:"))
                                ? QUrl::fromEncoded(path.toLatin1(), QUrl::StrictMode)
                                : QUrl::fromLocalFile(path));
            if (urls.isEmpty())
                urls.append(QUrl::fromLocalFile(QApplication::applicationFilePath()));
            data->setUrls(urls);
        } else if (m_mode == QLatin1String("text")) {
            data->setText(m_payload.isEmpty() ? QStringLiteral("holdfin test text")
                                              : m_payload.join(QLatin1Char(' ')));
        } else if (m_mode == QLatin1String("image")) {
            QImage image(32, 32, QImage::Format_ARGB32);
            image.fill(Qt::darkCyan);
            data->setImageData(image);
        } else if (m_mode == QLatin1String("color")) {
            data->setColorData(QColor(Qt::red));
        } else {
            data->setData(QStringLiteral("application/x-holdfin-opaque"), "opaque");
        }
        return data;
    }

    void startDrag() {
        auto* drag = new QDrag(this);
        drag->setMimeData(makeMimeData());
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        say(QStringLiteral("drag-started %1")
                .arg(qint64(now.tv_sec) * 1'000'000'000 + qint64(now.tv_nsec)));
        const Qt::DropAction result = drag->exec(m_actions, Qt::CopyAction);
        say(QStringLiteral("drag-finished ") + actionName(result));
    }

    QString m_mode;
    QStringList m_payload;
    Qt::DropActions m_actions;
    QPoint m_pressedAt;
    bool m_isPressed = false;
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QStringList args = QApplication::arguments().mid(1);
    const QPoint at = test_programs::takePosition(args, QPoint(100, 100));
    const QString actionsName =
        test_programs::takeOption(args, QStringLiteral("--actions")).value_or("copy");
    Qt::DropActions actions = Qt::CopyAction;
    if (actionsName == QLatin1String("move"))
        actions = Qt::MoveAction;
    else if (actionsName == QLatin1String("copymove"))
        actions = Qt::CopyAction | Qt::MoveAction;
    const QStringList modes = {"files",      "text",        "image", "color",
                               "unreadable", "unanswering", "none"};
    if (args.isEmpty() || !modes.contains(args.first())) {
        std::fprintf(stderr,
                     "usage: holdfin_test_drag_source <%s> [--at X,Y] "
                     "[--actions copy|move|copymove] [payload...]\n",
                     modes.join(QLatin1Char('|')).toUtf8().constData());
        return 2;
    }
    DragSource source(args.first(), args.mid(1), actions);
    source.move(at);
    source.show();
    test_programs::announceWhenReady(source);
    return QApplication::exec();
}
