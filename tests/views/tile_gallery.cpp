// Renders sample tiles side by side into PNG files, to look at them by eye:
//   QT_QPA_PLATFORM=offscreen tile_gallery <folder> [icon theme]
#include "core/qt_main_queue.h"
#include "desktop/freedesktop_services.h"
#include "desktop/symbol_image.h"
#include "desktop/thumbnail_loader.h"
#include "panel/drag_monitor.h"
#include "support/fake_drag_selection.h"
#include "support/fake_drag_session.h"
#include "support/fake_global_event_monitor.h"
#include "support/fake_main_queue.h"
#include "support/recording_log.h"
#include "views/bucket_item_view.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QHBoxLayout>
#include <QStyle>
#include <QTemporaryDir>

#include <cstdio>

using desktop::ColorScheme;
using shelf::BucketItem;
using shelf::BucketItemData;
using shelf::UTType;

namespace {

QPalette paletteFor(ColorScheme scheme) {
    QPalette palette = QApplication::style()->standardPalette();
    if (scheme == ColorScheme::Dark) {
        palette.setColor(QPalette::Window, QColor(40, 40, 42));
        palette.setColor(QPalette::WindowText, Qt::white);
    } else {
        palette.setColor(QPalette::Window, QColor(236, 236, 236));
        palette.setColor(QPalette::WindowText, Qt::black);
    }
    return palette;
}

void settle() {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 250)
        QApplication::processEvents();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: tile_gallery <folder> [icon theme]\n");
        return 2;
    }
    if (argc > 2) {
        // Without a desktop platform theme Qt searches only its resources for themes.
        QIcon::setThemeSearchPaths(QIcon::themeSearchPaths() << QStringLiteral("/usr/share/icons"));
        QIcon::setThemeName(QString::fromLocal8Bit(argv[2]));
    }
    std::printf("icon theme: %s\n", qPrintable(QIcon::themeName()));

    testing_support::FakeMainQueue queue;
    testing_support::FakeDragSelection dragSelection;
    testing_support::FakeGlobalEventMonitor eventMonitor;
    testing_support::RecordingLog log;
    testing_support::FakeDragSession session;
    desktop::FreedesktopServices desktopServices;
    QTemporaryDir thumbnailCache;
    core::QtMainQueue mainQueue;
    desktop::ThumbnailLoader thumbnails{desktop::ThumbnailCache(thumbnailCache.path()), mainQueue};
    desktop::SymbolImage symbols;
    panel::DragMonitor monitor(queue, dragSelection, eventMonitor);

    const QList<BucketItem> entries = {
        BucketItem({BucketItemData(QStringLiteral("file:///home/demo/Quarterly%20Report.pdf"),
                                   UTType::pdf)},
                   false),
        BucketItem({BucketItemData(QStringLiteral("  Meeting notes: bring the projector "
                                                  "and the long HDMI cable\n"),
                                   UTType::plainText)},
                   false),
        BucketItem({BucketItemData(QStringLiteral("file:///home/demo/photo.png"), UTType::png),
                    BucketItemData(QStringLiteral("file:///home/demo/song.mp3"), UTType::mp3),
                    BucketItemData(QStringLiteral("file:///home/demo/Projects/"), UTType::folder)},
                   false),
        BucketItem({BucketItemData(QStringLiteral("file:///home/demo/a.txt"), UTType::fileURL),
                    BucketItemData(QStringLiteral("file:///home/demo/b.txt"), UTType::fileURL)},
                   true),
    };
    monitor.setDraggedItems(entries);

    for (ColorScheme scheme : {ColorScheme::Light, ColorScheme::Dark}) {
        QWidget strip;
        strip.setPalette(paletteFor(scheme));
        strip.setAutoFillBackground(true);
        auto* layout = new QHBoxLayout(&strip);
        layout->setSpacing(8);
        QList<views::BucketItemView*> tiles;
        for (int row = 0; row < entries.size(); ++row) {
            auto* tile = new views::BucketItemView(monitor.shelfModel().index(row), monitor, {},
                                                   queue, session, log, desktopServices, thumbnails,
                                                   symbols, scheme, &strip);
            layout->addWidget(tile);
            tiles << tile;
        }
        strip.move(2000, 2000);
        strip.show();
        settle();
        // The last two tiles show their controls: three files unlocked, two files locked.
        for (views::BucketItemView* tile : tiles.mid(2)) {
            QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), tile->mapToGlobal(QPointF(5, 5)));
            QApplication::sendEvent(tile, &enter);
        }
        settle();
        const QString name = scheme == ColorScheme::Light ? QStringLiteral("tiles-light.png")
                                                          : QStringLiteral("tiles-dark.png");
        const QString path = QDir(QString::fromLocal8Bit(argv[1])).filePath(name);
        strip.grab()
            .scaled(strip.size() * 2, Qt::KeepAspectRatio, Qt::SmoothTransformation)
            .save(path);
        std::printf("wrote %s\n", qPrintable(path));
    }
    for (const QString& line : log.lines())
        std::printf("log: %s\n", qPrintable(line));
    return 0;
}
