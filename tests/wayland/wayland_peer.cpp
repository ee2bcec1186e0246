// A native Wayland client for the Wayland tests (run it with QT_QPA_PLATFORM=wayland): a window
// that is a drag source (pressing and moving the left button starts a drag of the --uri and
// --text given) and a drop target that prints what it got. Every line on standard output
// starts with T=<CLOCK_MONOTONIC ms>: READY, DRAG-START, DRAG-END action=N, DROP ....
// --payloads KIND,... gives each drag in turn what it carries: "both" (the default: URIs and
// text) or "text". With --dump, a drop also reads every offered format once, in the offered
// order at the first drop, the reverse at the next, and so on: DATA <format> <base64>.
// --fullscreen: the window is full-screen rather than maximized.
#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QUrl>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

void out(const QString& line) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::printf("T=%.3f %s\n", double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6,
                line.toLocal8Bit().constData());
    std::fflush(stdout);
}

class Peer final : public QWidget {
public:
    Peer(QList<QUrl> urls, QString text, QStringList payloads, bool isDumping)
        : m_urls(std::move(urls)), m_text(std::move(text)), m_payloads(std::move(payloads)),
          m_isDumping(isDumping) {
        setAcceptDrops(true);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), QColor(60, 60, 90));
        if (!m_isReady) {
            m_isReady = true;
            out(QStringLiteral("READY platform=%1").arg(QGuiApplication::platformName()));
        }
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton)
            m_pressPos = event->position().toPoint();
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (!(event->buttons() & Qt::LeftButton) || m_pressPos.isNull() ||
            (event->position().toPoint() - m_pressPos).manhattanLength() <
                QApplication::startDragDistance())
            return;
        m_pressPos = {};
        auto* drag = new QDrag(this);
        auto* data = new QMimeData;
        const QString payload =
            m_payloads.isEmpty() ? QString() : m_payloads.at(m_drags++ % m_payloads.size());
        if (payload != QLatin1String("text"))
            data->setUrls(m_urls);
        data->setText(m_text);
        drag->setMimeData(data);
        out(QStringLiteral("DRAG-START"));
        const Qt::DropAction action = drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
        out(QStringLiteral("DRAG-END action=%1").arg(int(action)));
    }
    void dragEnterEvent(QDragEnterEvent* event) override {
        out(QStringLiteral("DRAG-ENTER"));
        event->acceptProposedAction();
    }
    void dragMoveEvent(QDragMoveEvent* event) override { event->acceptProposedAction(); }
    void dropEvent(QDropEvent* event) override {
        const QMimeData* data = event->mimeData();
        QString uriList = QString::fromUtf8(data->data(QStringLiteral("text/uri-list")));
        uriList.replace(QLatin1String("\r\n"), QLatin1String("|"));
        if (m_isDumping) {
            QStringList formats = data->formats();
            if (m_drops++ % 2 == 1)
                std::reverse(formats.begin(), formats.end());
            for (const QString& format : formats)
                out(QStringLiteral("DATA %1 %2")
                        .arg(format, QString::fromLatin1(data->data(format).toBase64())));
        }
        out(QStringLiteral("DROP formats=[%1] uri-list=\"%2\" text=\"%3\"")
                .arg(data->formats().join(QLatin1Char(',')), uriList, data->text()));
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }

private:
    QList<QUrl> m_urls;
    QString m_text;
    QStringList m_payloads;
    bool m_isDumping;
    int m_drags = 0;
    int m_drops = 0;
    QPoint m_pressPos;
    bool m_isReady = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QList<QUrl> urls;
    QString text;
    QStringList payloads;
    QStringList args = app.arguments();
    const bool isDumping = args.removeAll(QStringLiteral("--dump")) > 0;
    const bool isFullScreen = args.removeAll(QStringLiteral("--fullscreen")) > 0;
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--uri"))
            urls << QUrl(args[i + 1]);
        else if (args[i] == QLatin1String("--text"))
            text = args[i + 1];
        else if (args[i] == QLatin1String("--payloads"))
            payloads = args[i + 1].split(QLatin1Char(','));
    }
    Peer peer(urls, text, payloads, isDumping);
    peer.setWindowTitle(QStringLiteral("wayland-peer"));
    // Screen-sized even where the compositor ignores the maximize (KWin, at times): placed,
    // it can only cover the screen then.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        peer.resize(screen->availableSize());
    isFullScreen ? peer.showFullScreen() : peer.showMaximized();
    return app.exec();
}
