// Thumbnails filling in after a drop of 200 photos (4000x3000 JPEG, a few MB each): the shelf
// shows the drop as one entry, then as 200 entries (as after Split) scrolled one row per frame,
// round and round, until every photo's thumbnail has come. A 1 ms timer on the GUI thread
// records the longest the thread was held, by the clock and by the thread's own CPU time (on a
// busy machine the clock also counts time the thread was not scheduled); a frame timer repaints
// at 60 Hz. The frame that splits the drop into 200 tiles is the shelf list's cost (see
// shelf_list_bench) and is reported apart. Prints the time to the first pictures and to the
// last, the longest GUI-thread block, frame times and the peak resident memory while thumbnails
// were made. The thumbnail cache starts empty (every photo
// is decoded) unless --warm is given, which runs the same again with the cache just written.
// Runs on Qt's offscreen platform: usage: thumbnail_bench [--photos N] [--warm]
#include "core/qt_main_queue.h"
#include "desktop/thumbnail_loader.h"
#include "panel/drag_monitor.h"
#include "panel/non_activating_panel.h"
#include "panel/window_manager.h"
#include "preferences/settings_access/settings_access_environment.h"
#include "shelf/mime_item_provider_factory.h"
#include "support/fake_platform.h"
#include "views/content_view.h"
#include "views/lazy_list_view.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QSet>
#include <QTemporaryDir>
#include <QTimer>

#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

using shelf::BucketItem;
using shelf::BucketItemData;

namespace {

constexpr int kDistinctPhotos = 4;

// A photo-like picture: smooth colour fields with sensor noise, so that it compresses as a
// photo does.
QImage photo(int seed) {
    QImage image(4000, 3000, QImage::Format_RGB32);
    QRandomGenerator random(static_cast<quint32>(seed));
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int noise = int(random.bounded(25u)) - 12;
            const int r = (x * 255 / 4000 + seed * 60 + noise) & 0xff;
            const int g = (y * 255 / 3000 + noise) & 0xff;
            const int b = ((x + y) * 255 / 7000 + noise + 40) & 0xff;
            line[x] = qRgb(r, g, b);
        }
    }
    return image;
}

// `count` photo files in `folder`: a few distinct ones, linked under as many names (each name
// is a file of its own to the thumbnail cache). The total bytes on disk.
QStringList makePhotos(const QString& folder, int count, qint64& bytes) {
    QStringList originals;
    bytes = 0;
    for (int i = 0; i < kDistinctPhotos; ++i) {
        originals << folder + QStringLiteral("/original-%1.jpg").arg(i);
        photo(i).save(originals.back(), "jpg", 90);
        bytes += QFile(originals.back()).size();
    }
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        paths << folder + QStringLiteral("/IMG_%1.jpg").arg(1000 + i, 4, 10, QLatin1Char('0'));
        if (::link(QFile::encodeName(originals.at(i % kDistinctPhotos)).constData(),
                   QFile::encodeName(paths.back()).constData()) != 0)
            QFile::copy(originals.at(i % kDistinctPhotos), paths.back());
    }
    return paths;
}

long residentKb() {
    QFile status(QStringLiteral("/proc/self/statm"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = status.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toLong() * (sysconf(_SC_PAGESIZE) / 1024) : 0;
}

qint64 threadCpuNs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

double ms(qint64 ns) {
    return static_cast<double>(ns) / 1e6;
}

struct Figures {
    qint64 firstPicturesNs = 0; // the drop's cascade complete
    qint64 allPicturesNs = 0;
    qint64 longestBlockNs = 0; // by the clock
    qint64 longestBusyNs = 0;  // by the GUI thread's CPU time
    qint64 splitNs = 0;
    std::vector<qint64> frames;
    long peakRssKb = 0;
    int decoded = 0;
    int pictures = 0;
};

Figures measure(const QStringList& photos, const QString& cacheRoot) {
    testing_support::FakePlatform fakes;
    QTemporaryDir imageCache;
    shelf::MimeItemProviderFactory providers(imageCache.path());
    const settings_access::SettingsAccessEnvironment settings;
    core::QtMainQueue mainQueue;
    desktop::ThumbnailLoader thumbnails{desktop::ThumbnailCache(cacheRoot), mainQueue};
    panel::DragMonitor monitor(fakes.queue, fakes.dragSelection, fakes.events);
    panel::WindowManager windows(fakes.screens, nullptr);
    auto* view = new views::ContentView(monitor, windows, fakes.queue, fakes.log, fakes.session,
                                        fakes.desktopServices, thumbnails, fakes.symbols,
                                        fakes.application, fakes.colorSchemes, providers, settings);
    windows.window()->setContentView(view);
    view->show();
    QApplication::processEvents();

    Figures figures;
    QSet<QString> arrived;
    QObject::connect(&thumbnails, &desktop::Thumbnails::thumbnailChanged,
                     [&](const QString& path) { arrived.insert(path); });
    QList<BucketItemData> payloads;
    for (const QString& path : photos)
        payloads << BucketItemData(QUrl::fromLocalFile(path).toString(), shelf::UTType::jpeg);
    const BucketItem drop(payloads, false);

    QElapsedTimer clock;
    QElapsedTimer sinceTick;
    qint64 cpuAtTick = 0;
    bool isSplitting = false; // the tick after the split frame does not count
    QTimer pinger;
    pinger.setTimerType(Qt::PreciseTimer);
    pinger.setInterval(1);
    QObject::connect(&pinger, &QTimer::timeout, [&] {
        const qint64 cpu = threadCpuNs();
        if (!isSplitting) {
            figures.longestBlockNs = std::max(figures.longestBlockNs, sinceTick.nsecsElapsed());
            figures.longestBusyNs = std::max(figures.longestBusyNs, cpu - cpuAtTick);
        }
        isSplitting = false;
        cpuAtTick = cpu;
        sinceTick.restart();
    });

    bool isSplit = false;
    int row = 0;
    QTimer frame;
    frame.setTimerType(Qt::PreciseTimer);
    frame.setInterval(16);
    QEventLoop loop;
    QObject::connect(&frame, &QTimer::timeout, [&] {
        QElapsedTimer work;
        work.start();
        figures.peakRssKb = std::max(figures.peakRssKb, residentKb());
        if (!isSplit && arrived.size() >= std::min<qsizetype>(3, photos.size())) {
            figures.firstPicturesNs = clock.nsecsElapsed();
            QList<BucketItem> entries;
            for (const BucketItemData& payload : drop.items)
                entries << BucketItem({payload}, false);
            monitor.setDraggedItems(entries);
            view->repaint();
            figures.splitNs = work.nsecsElapsed();
            isSplit = true;
            isSplitting = true;
            return;
        } else if (isSplit) {
            QScrollBar* bar = view->entryList()->verticalScrollBar();
            row = (row + 1) % int(photos.size());
            bar->setValue(std::min(bar->maximum(), row * 94));
        }
        view->repaint();
        figures.frames.push_back(work.nsecsElapsed());
        if (isSplit && arrived.size() == photos.size()) {
            figures.allPicturesNs = clock.nsecsElapsed();
            loop.quit();
        }
    });
    QTimer::singleShot(180'000, &loop, &QEventLoop::quit);

    clock.start();
    sinceTick.start();
    cpuAtTick = threadCpuNs();
    monitor.setDraggedItems({drop});
    view->repaint();
    pinger.start();
    frame.start();
    loop.exec();
    figures.decoded = thumbnails.decodedCount();
    figures.pictures = int(arrived.size());
    return figures;
}

void report(const char* label, Figures figures) {
    std::sort(figures.frames.begin(), figures.frames.end());
    const qint64 median = figures.frames.empty() ? 0 : figures.frames[figures.frames.size() / 2];
    const qint64 worst = figures.frames.empty() ? 0 : figures.frames.back();
    std::printf("%s: %d thumbnails (%d images decoded); the drop's cascade in %.0f ms, all in "
                "%.0f ms; longest GUI-thread block %.1f ms by the clock, %.1f ms of its CPU "
                "time; frame work median %.2f ms, max %.2f ms (the split into tiles %.1f ms); "
                "peak RSS %ld MB\n",
                label, figures.pictures, figures.decoded, ms(figures.firstPicturesNs),
                ms(figures.allPicturesNs), ms(figures.longestBlockNs), ms(figures.longestBusyNs),
                ms(median), ms(worst), ms(figures.splitNs), figures.peakRssKb / 1024);
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int count = 200;
    bool isWarm = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--photos") == 0 && i + 1 < argc)
            count = std::max(1, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--warm") == 0)
            isWarm = true;
    }
    QTemporaryDir home;
    qint64 bytes = 0;
    QElapsedTimer made;
    made.start();
    const QStringList photos = makePhotos(home.path(), count, bytes);
    std::printf("%d photos of 4000x3000 (%d distinct, %.1f MB each) made in %.1f s; RSS before "
                "the drop %ld MB\n",
                count, kDistinctPhotos, double(bytes) / kDistinctPhotos / 1e6,
                double(made.elapsed()) / 1000, residentKb() / 1024);
    const QString cache = home.filePath(QStringLiteral("thumbnails"));
    report("cold cache", measure(photos, cache));
    if (isWarm)
        report("warm cache", measure(photos, cache));
    return 0;
}
