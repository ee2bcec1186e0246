#include "backend/drop_hold.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using backend::DropHold;

// Stands in for Qt's drag: installed first, so it sees input after the hold.
struct Drag : QObject {
    QList<QPointF> releases;
    int moves = 0;
    Drag() { QCoreApplication::instance()->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease)
            releases << static_cast<QMouseEvent*>(event)->globalPosition();
        moves += event->type() == QEvent::MouseMove;
        return false;
    }
};

void send(QEvent::Type type, QPointF at) {
    QObject receiver;
    QMouseEvent event(type, at, at, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&receiver, &event);
}

// The release reaches the drag where it happened, once: at once when nothing reads early,
// after the reads pause when something does, and no later than the bound when they never do.
TEST(DropHoldTest, TheReleaseWaitsForTheReadsToPauseWithinItsBound) {
    Drag drag;
    const auto released = [&] { return QTest::qWaitFor([&] { return !drag.releases.isEmpty(); }); };
    DropHold direct([] { return false; }, {});
    direct.install();
    send(QEvent::MouseButtonRelease, {5, 6});
    EXPECT_EQ(drag.releases, QList<QPointF>{QPointF(5, 6)});

    drag.releases.clear();
    // A read just before the release: the quiet applies, not the wait for a first read.
    DropHold held([] { return true; }, {.firstRead = 10ms, .quiet = 400ms, .bound = 60s});
    held.install();
    held.noteRead();
    send(QEvent::MouseButtonRelease, {7, 8});
    send(QEvent::MouseMove, {300, 300});
    QTest::qWait(150);
    held.noteRead();
    EXPECT_TRUE(drag.releases.isEmpty());
    EXPECT_EQ(drag.moves, 0);
    ASSERT_TRUE(released());
    EXPECT_EQ(drag.releases, QList<QPointF>{QPointF(7, 8)});

    drag.releases.clear();
    DropHold bounded([] { return true; }, {.firstRead = 60s, .quiet = 60s, .bound = 50ms});
    bounded.install();
    send(QEvent::MouseButtonRelease, {1, 2});
    EXPECT_TRUE(drag.releases.isEmpty());
    EXPECT_TRUE(released());
}

} // namespace
