#include "views/draggable_view.h"

#include "backend/qt_drag_session.h"
#include "support/fake_drag_session.h"
#include "support/fake_main_queue.h"
#include "support/recording_log.h"
#include "support/wait_until.h"
#include "views/drag_source_widget.h"

#include <QCoreApplication>
#include <QMimeData>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <cstring>

#include <chrono>
#include <functional>
#include <memory>

namespace {

using backend::DragContext;

using shelf::BucketItem;
using shelf::BucketItemData;
using shelf::UTType;
using namespace std::chrono_literals;

class DraggableViewTest : public ::testing::Test {
protected:
    void make(const BucketItem& item) {
        view = std::make_unique<views::DraggableView>(new QWidget, item, actions(), queue, session,
                                                      log);
        view->resize(150, 90);
    }

    views::DragActions actions(const QString& successLine = QStringLiteral("success")) {
        return {[this, successLine] { log.writeLine(successLine); },
                [this] { log.writeLine(QStringLiteral("drag start")); },
                [this] { log.writeLine(QStringLiteral("drag end")); }};
    }

    void send(QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QWidget* target = view->dragSourceWidget();
        QMouseEvent event(type, at, target->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &event);
    }
    void press(QPointF at) { send(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton); }
    void drag(QPointF to) { send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton); }
    void release(QPointF at) { send(QEvent::MouseButtonRelease, at, Qt::LeftButton, {}); }

    // Presses, moves far enough to begin a drag, and answers the session with `operation`.
    void dragOut(Qt::DropAction operation) {
        press({20, 20});
        drag({40, 20});
        ASSERT_EQ(session.sessions().size(), 1u);
        session.endLatest(operation);
    }

    // Lets pool threads finish what they hand back through the main queue.
    bool drainUntil(const std::function<bool()>& condition) {
        return testing_support::waitUntil(condition, [this] { queue.drain(); });
    }

    int countOf(const QString& line) const { return static_cast<int>(log.lines().count(line)); }

    testing_support::FakeMainQueue queue;
    testing_support::RecordingLog log;
    testing_support::FakeDragSession session;
    std::unique_ptr<views::DraggableView> view;
};

BucketItem fileEntry(bool isLocked = false) {
    return BucketItem(
        {BucketItemData(QStringLiteral("file:///home/demo/report.pdf"), UTType::fileURL)},
        isLocked);
}

struct Move {
    double dx, dy;
    bool startsDrag;
};

class DragThresholdTest : public DraggableViewTest, public ::testing::WithParamInterface<Move> {};

TEST_P(DragThresholdTest, StartsAtAStraightLineDistanceOfThreePoints) {
    make(fileEntry());
    const QPointF origin(50, 40);
    press(origin);
    drag(origin + QPointF(GetParam().dx, GetParam().dy));
    release(origin + QPointF(GetParam().dx, GetParam().dy));

    const int expected = GetParam().startsDrag ? 1 : 0;
    EXPECT_EQ(static_cast<int>(session.sessions().size()), expected);
    EXPECT_EQ(countOf(QStringLiteral("drag start")), expected);
    EXPECT_EQ(countOf(QStringLiteral("drag end")), 0);
}

INSTANTIATE_TEST_SUITE_P(Distances, DragThresholdTest,
                         ::testing::Values(Move{2.9, 0, false}, Move{3.0, 0, true},
                                           Move{0, -3.0, true}, Move{-2.9, 0, false},
                                           // Diagonals: 2.97 and 3.11 points.
                                           Move{2.1, 2.1, false}, Move{2.2, -2.2, true}));

TEST_F(DraggableViewTest, MovesWithoutAPressInTheViewDoNothing) {
    make(fileEntry());
    drag({10, 10});
    drag({60, 60});
    EXPECT_TRUE(session.sessions().empty());
    EXPECT_TRUE(log.lines().isEmpty());

    // A press that was released is no press either.
    press({10, 10});
    release({10, 10});
    drag({60, 60});
    EXPECT_TRUE(session.sessions().empty());
}

TEST_F(DraggableViewTest, OnePressBeginsAtMostOneSession) {
    make(fileEntry());
    press({10, 10});
    drag({20, 10});
    drag({40, 10});
    drag({80, 50});
    EXPECT_EQ(session.sessions().size(), 1u);
    EXPECT_EQ(countOf(QStringLiteral("drag start")), 1);

    // The session's end changes nothing; the next press may drag again.
    session.endLatest(Qt::IgnoreAction);
    drag({90, 50});
    EXPECT_EQ(session.sessions().size(), 1u);
    press({10, 10});
    drag({20, 10});
    EXPECT_EQ(session.sessions().size(), 2u);
}

TEST_F(DraggableViewTest, OffersEachPayloadByItsTypeInPayloadOrder) {
    const QString pictureUrl = QStringLiteral("file:///home/demo/My%20Photo.png");
    make(BucketItem(
        {
            BucketItemData(QStringLiteral("file:///home/demo/report.pdf"), UTType::fileURL),
            BucketItemData(pictureUrl, UTType::png),
            BucketItemData(QStringLiteral("file:///home/demo/Projects/"), UTType::folder),
            // The same address typed as text stays text.
            BucketItemData(pictureUrl, UTType::plainText),
            // Typed as a file URL but no URL at all.
            BucketItemData(QStringLiteral("not a url"), UTType::fileURL),
        },
        false));
    press({10, 10});
    drag({14, 10});

    const QStringList expectedLines = {
        QStringLiteral("drag start"),
        QStringLiteral("providing file url file:///home/demo/report.pdf"),
        QStringLiteral("providing file url file:///home/demo/My%20Photo.png"),
        QStringLiteral("providing file url file:///home/demo/Projects/"),
        QStringLiteral("providing string file:///home/demo/My%20Photo.png"),
        QStringLiteral("providing string not a url"),
    };
    EXPECT_EQ(log.lines(), expectedLines);

    ASSERT_EQ(session.sessions().size(), 1u);
    const auto& items = session.sessions().front().items;
    ASSERT_EQ(items.size(), 5);
    EXPECT_EQ(std::get<QUrl>(items[0].writer),
              QUrl(QStringLiteral("file:///home/demo/report.pdf")));
    EXPECT_EQ(std::get<QUrl>(items[1].writer).toLocalFile(),
              QStringLiteral("/home/demo/My Photo.png"));
    EXPECT_EQ(std::get<QUrl>(items[2].writer).toLocalFile(),
              QStringLiteral("/home/demo/Projects/"));
    EXPECT_EQ(std::get<QString>(items[3].writer), pictureUrl);
    EXPECT_EQ(std::get<QString>(items[4].writer), QStringLiteral("not a url"));
    for (const backend::DragItem& item : items) {
        EXPECT_EQ(item.frame, QRect(0, 0, 150, 90));
        EXPECT_EQ(item.image.deviceIndependentSize().toSize(), QSize(150, 90));
    }
    EXPECT_EQ(session.sessions().front().position, QPointF(14, 10));
    EXPECT_EQ(session.sessions().front().view, view->dragSourceWidget());
}

struct OddName {
    const char* content;
    const char* offered; // the URL line, byte for byte
};

class OddFileNameTest : public DraggableViewTest, public ::testing::WithParamInterface<OddName> {};

TEST_P(OddFileNameTest, IsOfferedPercentEncodedByteForByte) {
    const QString content = QString::fromUtf8(GetParam().content);
    make(BucketItem({BucketItemData(content, UTType::fileURL)}, false));
    press({10, 10});
    drag({20, 10});
    ASSERT_EQ(session.sessions().size(), 1u);

    const QByteArray offered(GetParam().offered);
    EXPECT_EQ(log.lines().last(),
              QStringLiteral("providing file url ") + QString::fromLatin1(offered));
    const auto data = backend::makeDragMimeData(session.sessions().front().items);
    EXPECT_EQ(data->data(QStringLiteral("text/uri-list")), offered + "\r\n");
    EXPECT_EQ(data->data(QStringLiteral("text/plain")),
              QByteArray::fromPercentEncoding(offered.mid(int(std::strlen("file://")))))
        << "text takes the name's own bytes";
}

INSTANTIATE_TEST_SUITE_P(
    Names, OddFileNameTest,
    ::testing::Values(
        // Space, hash, percent, accented letter, a byte that is no UTF-8, a line feed.
        OddName{"file:///tmp/a%20b%23c%25d%C3%A9%FF%0A.txt",
                "file:///tmp/a%20b%23c%25d%C3%A9%FF%0A.txt"},
        // Characters a URL string may hold unencoded are encoded as UTF-8.
        OddName{"file:///tmp/\xC3\xA9t\xC3\xA9.txt", "file:///tmp/%C3%A9t%C3%A9.txt"},
        OddName{"file:///tmp/%E2%9C%93%20done/", "file:///tmp/%E2%9C%93%20done/"}));

TEST_F(DraggableViewTest, AllowedOperationsFollowTheLockStateWhenAsked) {
    make(fileEntry(false));
    press({10, 10});
    drag({20, 10});
    ASSERT_EQ(session.sessions().size(), 1u);
    backend::DragSource& source = *session.sessions().front().source;
    for (DragContext context : {DragContext::OutsideApplication, DragContext::WithinApplication})
        EXPECT_EQ(source.supportedDropActions(context), Qt::CopyAction | Qt::MoveAction);

    // An update during the drag is what the next question sees.
    view->refresh(fileEntry(true), actions());
    for (DragContext context : {DragContext::OutsideApplication, DragContext::WithinApplication})
        EXPECT_EQ(source.supportedDropActions(context), Qt::DropActions(Qt::CopyAction));
}

struct Ending {
    bool isLocked;
    Qt::DropAction operation;
    bool removes;
};

class DragEndTest : public DraggableViewTest, public ::testing::WithParamInterface<Ending> {};

TEST_P(DragEndTest, EndRunsAtOnceAndSuccessOnlyLaterForAnAcceptedUnlockedEntry) {
    make(fileEntry(GetParam().isLocked));
    dragOut(GetParam().operation);
    EXPECT_EQ(countOf(QStringLiteral("drag end")), 1);
    EXPECT_EQ(countOf(QStringLiteral("success")), 0);

    queue.advance(299ms);
    EXPECT_EQ(countOf(QStringLiteral("success")), 0);
    queue.advance(1ms);
    EXPECT_EQ(countOf(QStringLiteral("success")), GetParam().removes ? 1 : 0);
    queue.advance(10s);
    EXPECT_EQ(countOf(QStringLiteral("success")), GetParam().removes ? 1 : 0);
    EXPECT_EQ(countOf(QStringLiteral("drag end")), 1);
}

INSTANTIATE_TEST_SUITE_P(Outcomes, DragEndTest,
                         ::testing::Values(Ending{false, Qt::CopyAction, true},
                                           Ending{false, Qt::MoveAction, true},
                                           Ending{false, Qt::IgnoreAction, false},
                                           Ending{true, Qt::CopyAction, false},
                                           Ending{true, Qt::IgnoreAction, false}));

TEST_F(DraggableViewTest, TheSuccessActionIsReadWhenItRuns) {
    make(fileEntry());
    dragOut(Qt::CopyAction);
    view->refresh(fileEntry(), actions(QStringLiteral("replaced success")));
    queue.advance(300ms);
    EXPECT_EQ(countOf(QStringLiteral("success")), 0);
    EXPECT_EQ(countOf(QStringLiteral("replaced success")), 1);
}

TEST_F(DraggableViewTest, TheLockStateIsReadWhenTheDragEnds) {
    make(fileEntry(false));
    press({10, 10});
    drag({20, 10});
    view->refresh(fileEntry(true), actions());
    session.endLatest(Qt::CopyAction);
    queue.advance(1s);
    EXPECT_EQ(countOf(QStringLiteral("drag end")), 1);
    EXPECT_EQ(countOf(QStringLiteral("success")), 0);
}

TEST_F(DraggableViewTest, APendingSuccessOutlivesTheView) {
    make(fileEntry());
    dragOut(Qt::MoveAction);
    view.reset();
    queue.advance(300ms);
    EXPECT_EQ(countOf(QStringLiteral("success")), 1);
}

TEST_F(DraggableViewTest, OtherButtonsNeitherPressNorDrag) {
    make(fileEntry());
    send(QEvent::MouseButtonPress, {10, 10}, Qt::RightButton, Qt::RightButton);
    send(QEvent::MouseMove, {40, 10}, Qt::NoButton, Qt::RightButton);
    EXPECT_TRUE(session.sessions().empty());
    EXPECT_FALSE(view->dragSourceWidget()->initialPoint().has_value());
}

} // namespace

// ---- Entries too large to prepare on the GUI thread.

BucketItem manyFiles(int count) {
    QList<BucketItemData> payloads;
    for (int i = 0; i < count; ++i)
        payloads << BucketItemData(QStringLiteral("file:///home/demo/f%1").arg(i), UTType::fileURL);
    return BucketItem(std::move(payloads), false);
}

TEST_F(DraggableViewTest, ALargeEntryBeginsItsSessionOnceEveryPayloadIsPrepared) {
    constexpr int kCount = 5000;
    make(manyFiles(kCount));
    press({10, 10});
    drag({20, 10});
    ASSERT_TRUE(drainUntil([&] { return !session.sessions().empty(); }));

    const auto& items = session.sessions().front().items;
    ASSERT_EQ(items.size(), kCount);
    for (int i : {0, 1234, kCount - 1}) {
        EXPECT_EQ(std::get<QUrl>(items[i].writer).path(), QStringLiteral("/home/demo/f%1").arg(i));
        EXPECT_EQ(items[i].frame, QRect(0, 0, 150, 90));
        EXPECT_FALSE(items[i].image.isNull());
    }
    ASSERT_EQ(log.lines().size(), kCount + 1);
    EXPECT_EQ(log.lines().front(), QStringLiteral("drag start"));
    EXPECT_EQ(log.lines().last(), QStringLiteral("providing file url file:///home/demo/f4999"));
}

TEST_F(DraggableViewTest, ALargeEntryReleasedBeforeItIsPreparedEndsAsCancelled) {
    make(manyFiles(5000));
    press({10, 10});
    drag({20, 10});
    release({20, 10});
    ASSERT_TRUE(drainUntil([&] { return countOf(QStringLiteral("drag end")) == 1; }));
    EXPECT_TRUE(session.sessions().empty());
    EXPECT_EQ(countOf(QStringLiteral("drag start")), 1);
    queue.advance(1s);
    EXPECT_EQ(countOf(QStringLiteral("success")), 0);
}

TEST_F(DraggableViewTest, ALargeEntryDraggedAgainBeginsOnlyTheLatestDrag) {
    make(manyFiles(5000));
    press({10, 10});
    drag({20, 10});
    release({20, 10});
    press({10, 10});
    drag({10, 20});
    // The two are prepared side by side, and either may be ready first.
    ASSERT_TRUE(drainUntil(
        [&] { return !session.sessions().empty() && countOf(QStringLiteral("drag end")) > 0; }));
    EXPECT_EQ(session.sessions().size(), 1u);
    EXPECT_EQ(session.sessions().front().position, QPointF(10, 20));
    EXPECT_EQ(countOf(QStringLiteral("drag start")), 2);
    EXPECT_EQ(countOf(QStringLiteral("drag end")), 1) << "the first drag ended as cancelled";
}

// ---- The payload filter (the tile keeps the files that are still there).

TEST_F(DraggableViewTest, ADragOffersWhatTheFilterKeepsAndNothingBeginsWhenItKeepsNone) {
    for (const int count : {3, 5000}) { // prepared at once, and on a pool thread
        SCOPED_TRACE(count);
        const std::size_t before = session.sessions().size();
        log.clear();
        make(manyFiles(count));
        views::DragSourceWidget* source = view->dragSourceWidget();
        int refusals = 0;
        QObject::connect(source, &views::DragSourceWidget::filesFoundMissing, [&] { ++refusals; });

        source->setPayloadFilter(
            [](const QList<BucketItemData>& payloads) { return payloads.mid(1, 1); });
        press({10, 10});
        drag({20, 10});
        ASSERT_TRUE(drainUntil([&] { return session.sessions().size() == before + 1; }));
        ASSERT_EQ(session.sessions().back().items.size(), 1);
        EXPECT_EQ(std::get<QUrl>(session.sessions().back().items.front().writer).path(),
                  QStringLiteral("/home/demo/f1"));
        session.endLatest(Qt::CopyAction);
        release({20, 10});

        source->setPayloadFilter(
            [](const QList<BucketItemData>&) { return QList<BucketItemData>(); });
        press({10, 10});
        drag({20, 10});
        ASSERT_TRUE(drainUntil([&] { return refusals == 1; }));
        EXPECT_EQ(session.sessions().size(), before + 1) << "no second session";
        EXPECT_EQ(countOf(QStringLiteral("drag end")), count == 3 ? 1 : 2)
            << "a drag begun on the pool's word ends as refused";
        queue.advance(1s);
        EXPECT_EQ(countOf(QStringLiteral("success")), 1) << "only the first drag's";
        release({20, 10});
    }
}
