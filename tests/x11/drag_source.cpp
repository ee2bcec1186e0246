// holdfin_test_drag_source: a Qt window that starts a real XDND drag when pressed and moved.
//
//   holdfin_test_drag_source <mode> [--at X,Y] [--full-screen] [--actions copy|move|copymove]
//                            [--paths-from FILE] [--junk-types N] [--conversions HOW] [payload...]
//
// mode:
//   files        text/uri-list of the payload paths (default: this program's own file); a
//                payload starting with "file:" is taken as an encoded URL, so that names
//                which are not UTF-8 can be given
//   rawfiles     text/uri-list of the paths in --paths-from FILE (NUL-separated, any bytes but
//                NUL), each byte that is not unreserved percent-encoded, CRLF-separated
//   text         text/plain, the payload words joined by spaces (default "holdfin test text")
//   image        an image (application/x-qt-image, offered as every image format Qt writes)
//   color        application/x-color (red)
//   unreadable   only application/x-holdfin-opaque, which nothing reads
//   unanswering  offers a colour but never answers a request for its data in time (each
//                request blocks the program for 2 s)
//   none         no drag at all: pressing and moving only moves the pointer
// --junk-types N adds N more offered types (application/x-holdfin-junk-<i>) after the real ones.
// --conversions says how requests of other clients for the drag's data are met:
//   answer (default) as Qt does; silent: never answered at all; garbage: every request
//   (TARGETS too) is answered with random bytes of a random type and format; stall: TARGETS
//   is answered with the drag's types, every request for data never.
// The 300x300 window sits at --at (default 100,100), or covers the screen with --full-screen.
// Standard output, one line each:
//   ready X Y W H          the window is shown; its global geometry
//   drag-started NS        right before the drag starts; NS is CLOCK_MONOTONIC in nanoseconds
//   drag-finished ACTION   the drag ended: copy, move, link or ignore
// Every press starts a new drag, for as long as the program runs.
#include "selection_notify.h"
#include "test_program.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QDrag>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <random>
#include <thread>
#include <vector>

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

// Meets other clients' requests for the drag's data in a hostile way, before Qt sees them.
class HostileConversions final : public QAbstractNativeEventFilter {
public:
    enum class How { Silent, Garbage, Stall };

    explicit HostileConversions(How how) : m_how(how) {
        auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        m_connection = x11 ? x11->connection() : nullptr;
        m_selection = intern("XdndSelection");
        m_targets = intern("TARGETS");
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (!m_connection || type != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_SELECTION_REQUEST)
            return false;
        const auto* request = reinterpret_cast<const xcb_selection_request_event_t*>(event);
        if (request->selection != m_selection)
            return false;
        if (m_how == How::Garbage)
            answerWithGarbage(*request);
        else if (m_how == How::Stall && request->target == m_targets)
            answerTargets(*request);
        return true;
    }

    // The types the drag under way offers, for a TARGETS request.
    void setOfferedTypes(const QStringList& types) {
        m_offered.clear();
        for (const QString& type : types)
            m_offered.push_back(intern(type.toLatin1().constData()));
    }

private:
    xcb_atom_t intern(const char* name) {
        if (!m_connection)
            return xcb_atom_t(XCB_ATOM_NONE);
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            m_connection,
            xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(std::strlen(name)), name),
            nullptr);
        const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return atom;
    }

    void answerTargets(const xcb_selection_request_event_t& request) {
        const xcb_atom_t property = request.property ? request.property : request.target;
        std::vector<xcb_atom_t> atoms{m_targets};
        atoms.insert(atoms.end(), m_offered.begin(), m_offered.end());
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, request.requestor, property,
                            XCB_ATOM_ATOM, 32, uint32_t(atoms.size()), atoms.data());
        test_programs::notifyRequestor(m_connection, request, property);
    }

    void answerWithGarbage(const xcb_selection_request_event_t& request) {
        const xcb_atom_t property = request.property ? request.property : request.target;
        const xcb_atom_t types[] = {request.target, XCB_ATOM_ATOM, XCB_ATOM_INTEGER,
                                    XCB_ATOM_STRING, m_targets};
        const xcb_atom_t type = types[m_random() % std::size(types)];
        const uint8_t formats[] = {8, 16, 32};
        const uint8_t format = formats[m_random() % std::size(formats)];
        // Up to 256 KiB, and now and then nothing at all.
        const uint32_t bytes = (m_random() % 4 == 0) ? 0 : m_random() % (256 * 1024);
        QByteArray data(qsizetype(bytes), Qt::Uninitialized);
        for (char& c : data)
            c = static_cast<char>(m_random());
        const uint32_t units = bytes / (format / 8);
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, request.requestor, property, type,
                            format, units, data.constData());
        test_programs::notifyRequestor(m_connection, request, property);
    }

    How m_how;
    xcb_connection_t* m_connection = nullptr;
    xcb_atom_t m_selection = XCB_ATOM_NONE;
    xcb_atom_t m_targets = XCB_ATOM_NONE;
    std::vector<xcb_atom_t> m_offered;
    std::mt19937 m_random{20261207};
};

// A file URL carrying the path's bytes exactly: all but unreserved characters and '/' encoded.
QByteArray fileUri(const QByteArray& path) {
    return "file://" + path.toPercentEncoding("/");
}

// NUL-separated paths from `file` (a trailing NUL or not).
QList<QByteArray> readPaths(const QString& file) {
    QFile list(file);
    if (!list.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArray> paths = list.readAll().split('\0');
    paths.removeAll(QByteArray());
    return paths;
}

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
    DragSource(QString mode, QStringList payload, Qt::DropActions actions,
               QList<QByteArray> rawPaths, int junkTypes, HostileConversions* hostile)
        : m_mode(std::move(mode)), m_payload(std::move(payload)), m_actions(actions),
          m_rawPaths(std::move(rawPaths)), m_junkTypes(junkTypes), m_hostile(hostile) {
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
        } else if (m_mode == QLatin1String("rawfiles")) {
            QByteArray list;
            for (const QByteArray& path : m_rawPaths)
                list += fileUri(path) + "\r\n";
            data->setData(QStringLiteral("text/uri-list"), list);
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
        for (int i = 0; i < m_junkTypes; ++i)
            data->setData(QStringLiteral("application/x-holdfin-junk-%1").arg(i), "junk");
        return data;
    }

    void startDrag() {
        auto* drag = new QDrag(this);
        drag->setMimeData(makeMimeData());
        if (m_hostile)
            m_hostile->setOfferedTypes(drag->mimeData()->formats());
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
    QList<QByteArray> m_rawPaths;
    int m_junkTypes = 0;
    HostileConversions* m_hostile;
    QPoint m_pressedAt;
    bool m_isPressed = false;
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    test_programs::quitOnTerminationSignal(app);
    QStringList args = QApplication::arguments().mid(1);
    const QPoint at = test_programs::takePosition(args, QPoint(100, 100));
    const bool isFullScreen = args.removeAll(QStringLiteral("--full-screen")) > 0;
    const QString actionsName =
        test_programs::takeOption(args, QStringLiteral("--actions")).value_or("copy");
    Qt::DropActions actions = Qt::CopyAction;
    if (actionsName == QLatin1String("move"))
        actions = Qt::MoveAction;
    else if (actionsName == QLatin1String("copymove"))
        actions = Qt::CopyAction | Qt::MoveAction;
    const QString pathsFrom =
        test_programs::takeOption(args, QStringLiteral("--paths-from")).value_or(QString());
    const int junkTypes =
        test_programs::takeOption(args, QStringLiteral("--junk-types")).value_or("0").toInt();
    const QString conversions =
        test_programs::takeOption(args, QStringLiteral("--conversions")).value_or("answer");
    const QStringList modes = {"files", "rawfiles",   "text",        "image",
                               "color", "unreadable", "unanswering", "none"};
    const QStringList conversionModes = {"answer", "silent", "garbage", "stall"};
    if (args.isEmpty() || !modes.contains(args.first()) || !conversionModes.contains(conversions)) {
        std::fprintf(stderr,
                     "usage: holdfin_test_drag_source <%s> [--at X,Y] "
                     "[--actions copy|move|copymove] [--paths-from FILE] [--junk-types N] "
                     "[--conversions answer|silent|garbage|stall] [payload...]\n",
                     modes.join(QLatin1Char('|')).toUtf8().constData());
        return 2;
    }
    std::unique_ptr<HostileConversions> hostile;
    if (conversions != QLatin1String("answer")) {
        hostile = std::make_unique<HostileConversions>(
            conversions == QLatin1String("silent")    ? HostileConversions::How::Silent
            : conversions == QLatin1String("garbage") ? HostileConversions::How::Garbage
                                                      : HostileConversions::How::Stall);
        app.installNativeEventFilter(hostile.get());
    }
    DragSource source(args.first(), args.mid(1), actions,
                      pathsFrom.isEmpty() ? QList<QByteArray>() : readPaths(pathsFrom), junkTypes,
                      hostile.get());
    source.move(at);
    if (isFullScreen)
        source.showFullScreen();
    else
        source.show();
    test_programs::announceWhenReady(source);
    return QApplication::exec();
}
