// The shelf list's cost against its length: shows the list face for a shelf of N entries,
// then scrolls one row further per frame for 100 frames, painting each as a frame would, and
// jumps from top to bottom in 100 steps, and last edits the shelf at the top of the list 100
// times: a lock toggled, an entry added and removed again, each change laid out and painted.
// The first shelf measured warms the caches. Prints, per N: time to show, per-step
// scroll+paint time (median, max), live tiles, per-edit time (median, max).
// Runs on Qt's offscreen platform: usage: shelf_list_bench [N...] (default 10 10 100000).
#include "panel/drag_monitor.h"
#include "panel/non_activating_panel.h"
#include "panel/window_manager.h"
#include "preferences/settings_access/settings_access_environment.h"
#include "sample_shelf.h"
#include "shelf/mime_item_provider_factory.h"
#include "support/fake_platform.h"
#include "views/content_view.h"
#include "views/lazy_list_view.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using shelf::BucketItem;
using shelf::BucketItemData;

namespace {

QList<BucketItem> shelfOf(int count) {
    return bench::sampleShelf(count);
}

double ms(qint64 ns) {
    return static_cast<double>(ns) / 1e6;
}

void measure(int count) {
    testing_support::FakePlatform fakes;
    QTemporaryDir cache;
    shelf::MimeItemProviderFactory providers(cache.path());
    const settings_access::SettingsAccessEnvironment settings;
    panel::DragMonitor monitor(fakes.queue, fakes.dragSelection, fakes.events);
    panel::WindowManager windows(fakes.screens, nullptr);
    auto* view = new views::ContentView(monitor, windows, fakes.queue, fakes.log, fakes.session,
                                        fakes.desktopServices, fakes.thumbnails, fakes.symbols,
                                        fakes.application, fakes.colorSchemes, providers, settings);
    windows.window()->setContentView(view);
    view->show();
    QApplication::processEvents();

    const QList<BucketItem> items = shelfOf(count);
    QElapsedTimer timer;
    timer.start();
    monitor.setDraggedItems(items); // the list face replaces the drop region
    view->repaint();
    const qint64 showNs = timer.nsecsElapsed();

    QScrollBar* bar = view->entryList()->verticalScrollBar();
    std::vector<qint64> steps;
    qsizetype maxLive = view->entryList()->liveWidgets().size();
    for (int step = 1; step <= 100; ++step) {
        timer.restart();
        // One row further per frame, wrapping on a short shelf: the same work per frame.
        bar->setValue(static_cast<int>((static_cast<qint64>(step) * 94) % (bar->maximum() + 1)));
        view->repaint();
        steps.push_back(timer.nsecsElapsed());
        maxLive = std::max(maxLive, view->entryList()->liveWidgets().size());
    }
    std::vector<qint64> jumps;
    for (int step = 1; step <= 100; ++step) {
        timer.restart();
        bar->setValue(static_cast<int>(static_cast<qint64>(bar->maximum()) * step / 100));
        view->repaint();
        jumps.push_back(timer.nsecsElapsed());
        maxLive = std::max(maxLive, view->entryList()->liveWidgets().size());
    }
    std::vector<qint64> edits;
    bar->setValue(0);
    const BucketItem extra = shelfOf(1).constFirst();
    auto frame = [&] {
        QApplication::processEvents();
        view->repaint();
    };
    for (int step = 1; step <= 100; ++step) {
        timer.restart();
        BucketItem top = monitor.draggedItems().constFirst();
        top.isLocked = !top.isLocked;
        monitor.updateItem(top);
        frame();
        monitor.addItem(extra);
        frame();
        monitor.removeItem(extra);
        frame();
        edits.push_back(timer.nsecsElapsed());
    }
    std::sort(steps.begin(), steps.end());
    std::sort(jumps.begin(), jumps.end());
    std::sort(edits.begin(), edits.end());
    std::printf("shelf of %7d entries: show list %7.2f ms; frame one row on: median %5.2f ms, "
                "max %5.2f ms; top-to-bottom in 100 jumps: median %5.2f ms, max %5.2f ms; "
                "live tiles at most %lld; lock, add and remove at the top: median %5.2f ms, "
                "max %5.2f ms\n",
                count, ms(showNs), ms(steps[steps.size() / 2]), ms(steps.back()),
                ms(jumps[jumps.size() / 2]), ms(jumps.back()), static_cast<long long>(maxLive),
                ms(edits[edits.size() / 2]), ms(edits.back()));
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i)
        counts.push_back(std::atoi(argv[i]));
    if (counts.empty())
        counts = {10, 10, 100000};
    for (int count : counts)
        measure(count);
    return 0;
}
