#include "views/bucket_item_view.h"

#include "desktop/symbol_image.h"
#include "panel/drag_monitor.h"
#include "support/fake_drag_pasteboard.h"
#include "support/fake_drag_session.h"
#include "support/fake_global_event_monitor.h"
#include "support/fake_main_queue.h"
#include "support/fake_workspace.h"
#include "support/recording_log.h"
#include "views/caption_label.h"
#include "views/content_face.h"
#include "views/drag_source_widget.h"
#include "views/draggable_view.h"
#include "views/icon_view.h"
#include "views/symbol_button.h"

#include <QApplication>
#include <QEnterEvent>
#include <QFile>
#include <QGraphicsOpacityEffect>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

using desktop::ColorScheme;
using shelf::BucketItem;
using shelf::BucketItemData;
using shelf::UTType;
using views::BucketItemView;
using views::IconView;
using views::SymbolButton;
using namespace std::chrono_literals;

BucketItemData file(const QString& name) {
    return BucketItemData(QStringLiteral("file:///home/demo/") + name, UTType::fileURL);
}

BucketItem entryOf(qsizetype count, bool isLocked = false) {
    QList<BucketItemData> payloads;
    for (qsizetype i = 0; i < count; ++i)
        payloads << file(QStringLiteral("file%1.txt").arg(i));
    return BucketItem(payloads, isLocked);
}

class BucketItemViewTest : public ::testing::Test {
protected:
    BucketItemView& show(const BucketItem& entry, ColorScheme scheme = ColorScheme::Light) {
        monitor.setDraggedItems({entry});
        // The shelf's remove action: the bound entry as it is now, by id.
        const QUuid id = entry.id;
        views::TileActions actions{[this, id] {
                                       ++removals;
                                       for (const BucketItem& current : monitor.draggedItems()) {
                                           if (current.id == id) {
                                               monitor.removeItem(current);
                                               return;
                                           }
                                       }
                                   },
                                   [this] { log.writeLine(QStringLiteral("drag start")); },
                                   [this] { log.writeLine(QStringLiteral("drag end")); }};
        tile = std::make_unique<BucketItemView>(monitor.shelfModel().index(0), monitor, actions,
                                                queue, session, log, workspace, symbols, scheme);
        // Away from the pointer, so that only the test decides about hovering.
        tile->move(400, 300);
        tile->show();
        QApplication::processEvents();
        return *tile;
    }

    void hover(bool isInside) {
        if (isInside) {
            QEnterEvent event(QPointF(10, 10), QPointF(10, 10), tile->mapToGlobal(QPointF(10, 10)));
            QApplication::sendEvent(tile.get(), &event);
        } else {
            QEvent event(QEvent::Leave);
            QApplication::sendEvent(tile.get(), &event);
        }
    }

    QList<IconView*> icons() const { return tile->contentFace()->findChildren<IconView*>(); }
    QString caption() const {
        return tile->contentFace()->findChild<views::CaptionLabel*>()->text();
    }
    SymbolButton* button(const QString& symbol) const {
        for (SymbolButton* b : tile->controlsColumn()->findChildren<SymbolButton*>()) {
            if (b->symbolName() == symbol)
                return b;
        }
        return nullptr;
    }
    // A file payload whose file is there.
    BucketItemData presentFile(const QString& name) {
        const QString path = files.filePath(name);
        QFile(path).open(QIODevice::WriteOnly);
        return BucketItemData(QUrl::fromLocalFile(path).toString(), UTType::fileURL);
    }
    // Presses on the tile and moves far enough to begin a drag out.
    void beginDragOut() {
        views::DragSourceWidget* source = tile->draggableView()->dragSourceWidget();
        QTest::mousePress(source, Qt::LeftButton, {}, QPoint(20, 20));
        QMouseEvent move(QEvent::MouseMove, QPointF(30, 20), source->mapToGlobal(QPointF(30, 20)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(source, &move);
        QTest::mouseRelease(source, Qt::LeftButton, {}, QPoint(30, 20));
    }
    int invalidUrlLines() const {
        return static_cast<int>(log.lines().count(QStringLiteral("Invalid URL")));
    }

    testing_support::FakeMainQueue queue;
    testing_support::FakeDragPasteboard pasteboard;
    testing_support::FakeGlobalEventMonitor eventMonitor;
    testing_support::RecordingLog log;
    testing_support::FakeDragSession session;
    testing_support::FakeWorkspace workspace;
    desktop::SymbolImage symbols;
    panel::DragMonitor monitor{queue, pasteboard, eventMonitor};
    QTemporaryDir files;
    int removals = 0;
    std::unique_ptr<BucketItemView> tile;
};

TEST_F(BucketItemViewTest, IsAFixedTileWithTheFaceFillingIt) {
    show(entryOf(1));
    EXPECT_EQ(tile->size(), QSize(150, 90));
    EXPECT_EQ(tile->draggableView()->geometry(), QRect(0, 0, 150, 90));
    EXPECT_EQ(tile->contentFace()->width(), 150);
}

struct SingleCase {
    const char* content;
    UTType type;
    const char* iconSource; // symbol name or looked-up path
    int padding;
    bool isSymbol;
    const char* caption;
};

class SinglePayloadFaceTest : public BucketItemViewTest,
                              public ::testing::WithParamInterface<SingleCase> {};

TEST_P(SinglePayloadFaceTest, ShowsOneIconAndTheDisplayName) {
    const SingleCase& c = GetParam();
    show(BucketItem({BucketItemData(QString::fromUtf8(c.content), c.type)}, false));

    EXPECT_EQ(tile->contentFace()->objectName(), QStringLiteral("singlePayloadFace"));
    const QList<IconView*> shown = icons();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown.front()->source(), QString::fromUtf8(c.iconSource));
    EXPECT_EQ(shown.front()->padding(), c.padding);
    EXPECT_EQ(caption(), QString::fromUtf8(c.caption));
    if (c.isSymbol) {
        EXPECT_TRUE(workspace.iconLookups().isEmpty());
        EXPECT_FALSE(shown.front()->foreground().has_value()); // the inherited colour
    } else {
        EXPECT_EQ(workspace.iconLookups(), QStringList{QString::fromUtf8(c.iconSource)});
    }
    EXPECT_EQ(invalidUrlLines(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Payloads, SinglePayloadFaceTest,
    ::testing::Values(SingleCase{"  hello world \n", UTType::plainText, "doc.text.fill", 6, true,
                                 "hello world"},
                      SingleCase{"file:///Users/a/Report.pdf", UTType::pdf, "/Users/a/Report.pdf",
                                 4, false, "Report.pdf"},
                      SingleCase{"file:///Users/demo/My%20File.txt", UTType::fileURL,
                                 "/Users/demo/My File.txt", 4, false, "My File.txt"},
                      SingleCase{"file:///Users/demo/Projects/", UTType::folder,
                                 "/Users/demo/Projects/", 4, false, "Projects"},
                      // A text subtype is not exactly plain text: a file icon from its content.
                      SingleCase{"file:///tmp/notes.txt", UTType::utf8PlainText, "/tmp/notes.txt",
                                 4, false, "file:///tmp/notes.txt"}));

struct MultiCase {
    int count;
    int padding;
    QList<QPoint> offsets; // of icons 0, 1, 2 from the cascade's frame
    const char* caption;
    bool hasSplit;
};

class MultiPayloadFaceTest : public BucketItemViewTest,
                             public ::testing::WithParamInterface<MultiCase> {};

TEST_P(MultiPayloadFaceTest, CascadesUpToThreeFileIconsAboveTheCount) {
    const MultiCase& c = GetParam();
    const BucketItem entry = entryOf(c.count);
    show(entry);

    EXPECT_EQ(tile->contentFace()->objectName(), QStringLiteral("multiPayloadFace"));
    EXPECT_EQ(caption(), QString::fromUtf8(c.caption));
    const QList<IconView*> shown = icons();
    ASSERT_EQ(shown.size(), c.offsets.size());
    QStringList expectedLookups;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const QWidget* cascade = shown[i]->parentWidget();
        EXPECT_FALSE(cascade->rect().isEmpty());
        EXPECT_EQ(shown[i]->geometry(), cascade->rect().translated(c.offsets[i])) << "icon " << i;
        EXPECT_EQ(shown[i]->padding(), c.padding);
        EXPECT_EQ(shown[i]->source(), QStringLiteral("/home/demo/file%1.txt").arg(i));
        expectedLookups << shown[i]->source();
        // Later icons are drawn over earlier ones.
        if (i > 0) {
            EXPECT_GT(cascade->children().indexOf(shown[i]),
                      cascade->children().indexOf(shown[i - 1]));
        }
    }
    EXPECT_EQ(workspace.iconLookups(), expectedLookups);

    hover(true);
    ASSERT_NE(button(QStringLiteral("arrow.trianglehead.branch")), nullptr);
    EXPECT_EQ(button(QStringLiteral("arrow.trianglehead.branch"))->isVisible(), c.hasSplit);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, MultiPayloadFaceTest,
    ::testing::Values(MultiCase{0, 0, {}, "0 files", false},
                      MultiCase{2, 7, {{3, -3}, {-3, 3}}, "2 files", true},
                      MultiCase{3, 10, {{6, -6}, {0, 0}, {-6, 6}}, "3 files", true},
                      MultiCase{5, 10, {{6, -6}, {0, 0}, {-6, 6}}, "5 files", true}));

TEST_F(BucketItemViewTest, AContentThatIsNoUrlIsReportedAtEveryBuild) {
    show(BucketItem({BucketItemData(QStringLiteral("file://my docs/a b.pdf"), UTType::fileURL)},
                    false));
    EXPECT_EQ(workspace.iconLookups(), QStringList{QStringLiteral("my docs/a b.pdf")});
    EXPECT_EQ(invalidUrlLines(), 1);
    EXPECT_EQ(icons().size(), 1);

    tile->setColorScheme(ColorScheme::Dark);
    EXPECT_EQ(invalidUrlLines(), 2);
    hover(true);
    EXPECT_EQ(invalidUrlLines(), 3);
    EXPECT_EQ(workspace.iconLookups().size(), 3);
}

TEST_F(BucketItemViewTest, AContentThatIsNoUrlAndNoFileAddressIsLookedUpAsItIs) {
    show(BucketItem({BucketItemData(QStringLiteral("a:b c"), UTType::fileURL)}, false));
    EXPECT_EQ(workspace.iconLookups(), QStringList{QStringLiteral("a:b c")});
    EXPECT_EQ(invalidUrlLines(), 1);
}

struct ColourCase {
    ColorScheme scheme;
    bool isMaskIcon;
    QColor expected; // premultiplied into the transparent background of a grab
};

class FileIconColourTest : public BucketItemViewTest,
                           public ::testing::WithParamInterface<ColourCase> {};

TEST_P(FileIconColourTest, OnlySingleColourIconsTakeTheSchemesForeground) {
    workspace.isMaskIcon = GetParam().isMaskIcon;
    show(entryOf(1), GetParam().scheme);
    IconView* icon = icons().front();
    const QImage image = icon->grab().toImage();
    const QColor centre = image.pixelColor(icon->imageRect().center());
    const QColor& expected = GetParam().expected;
    EXPECT_NEAR(centre.alpha(), expected.alpha(), 2);
    EXPECT_NEAR(centre.red(), expected.red(), 2);
    EXPECT_NEAR(centre.green(), expected.green(), 2);
    EXPECT_NEAR(centre.blue(), expected.blue(), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Schemes, FileIconColourTest,
    ::testing::Values(ColourCase{ColorScheme::Light, true, QColor(0, 0, 0, 176)},
                      ColourCase{ColorScheme::Dark, true, QColor(255, 255, 255)},
                      ColourCase{ColorScheme::Light, false, QColor(200, 40, 40)},
                      ColourCase{ColorScheme::Dark, false, QColor(200, 40, 40)}));

TEST_F(BucketItemViewTest, ControlsShowWhileHoveringInAColumnRightOfCentre) {
    show(entryOf(2));
    EXPECT_FALSE(tile->isHovering());
    EXPECT_FALSE(tile->controlsColumn()->isVisible());

    hover(true);
    EXPECT_TRUE(tile->isHovering());
    EXPECT_TRUE(tile->controlsColumn()->isVisible());
    const QRect column = tile->controlsColumn()->geometry();
    EXPECT_EQ(column.top(), 0);
    EXPECT_EQ(column.height(), 90);
    EXPECT_NEAR(column.left() + column.width() / 2.0, 75 + 48, 1.0);
    EXPECT_LE(column.right(), 149) << "inside the tile";

    const QList<QPair<QString, int>> expected = {{QStringLiteral("lock.open"), 15},
                                                 {QStringLiteral("arrow.trianglehead.branch"), 12},
                                                 {QStringLiteral("xmark"), 11}};
    int previousBottom = -1;
    for (const auto& [symbol, height] : expected) {
        SymbolButton* b = button(symbol);
        ASSERT_NE(b, nullptr) << symbol.toStdString();
        EXPECT_TRUE(b->isVisible());
        EXPECT_EQ(b->symbolSize().height(), height);
        // A target that is easy to hit, around a small symbol.
        EXPECT_GE(b->width(), 24);
        EXPECT_GE(b->height(), 24);
        EXPECT_FALSE(b->toolTip().isEmpty()) << symbol.toStdString();
        EXPECT_GT(b->y(), previousBottom); // top to bottom in this order
        previousBottom = b->geometry().bottom();
        // The controls sit above the drag wrapper: a press there never reaches it.
        const QPoint centre = b->mapTo(tile.get(), b->rect().center());
        EXPECT_EQ(tile->childAt(centre), b);
    }

    hover(false);
    EXPECT_FALSE(tile->isHovering());
    // The column fades out over 0.1 s.
    EXPECT_TRUE(QTest::qWaitFor([this] { return !tile->controlsColumn()->isVisible(); }, 1000));
}

// A state change shows the face anew; the tile's widgets stay.
TEST_F(BucketItemViewTest, HoverAndLockChangesKeepEveryWidget) {
    show(entryOf(2));
    QList<QPointer<QWidget>> before;
    for (QWidget* widget : tile->findChildren<QWidget*>())
        before << widget;
    auto* fade = qobject_cast<QGraphicsOpacityEffect*>(tile->controlsColumn()->graphicsEffect());
    ASSERT_NE(fade, nullptr);
    EXPECT_EQ(fade->opacity(), 0.0);

    hover(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return fade->opacity() == 1.0; }, 1000)) << "fades in";
    button(QStringLiteral("lock.open"))->click();
    ASSERT_NE(button(QStringLiteral("lock")), nullptr);
    hover(false);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !tile->controlsColumn()->isVisible(); }, 1000));
    EXPECT_EQ(fade->opacity(), 0.0);

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const QList<QWidget*> after = tile->findChildren<QWidget*>();
    EXPECT_EQ(after.size(), before.size()) << "no widget made";
    for (const QPointer<QWidget>& widget : before)
        EXPECT_TRUE(widget && after.contains(widget.data())) << "no widget deleted";
}

TEST_F(BucketItemViewTest, TheLockIsWrittenBackIntoTheShelf) {
    const BucketItem original = entryOf(2, false);
    show(original);
    hover(true);
    button(QStringLiteral("lock.open"))->click();

    ASSERT_EQ(monitor.draggedItems().size(), 1);
    EXPECT_TRUE(monitor.draggedItems().front().isLocked);
    EXPECT_EQ(monitor.draggedItems().front().id, original.id);
    EXPECT_TRUE(tile->item().isLocked);
    EXPECT_NE(button(QStringLiteral("lock")), nullptr);
    EXPECT_EQ(button(QStringLiteral("lock.open")), nullptr);
    // The drag source sees the new state too: copy only.
    EXPECT_TRUE(tile->draggableView()->coordinator()->item().isLocked);

    // The copy taken before the lock no longer names an entry of the shelf.
    monitor.splitItem(original);
    ASSERT_EQ(monitor.draggedItems().size(), 1);

    // The tile splits the entry as it is now; the pieces keep the lock.
    button(QStringLiteral("arrow.trianglehead.branch"))->click();
    ASSERT_EQ(monitor.draggedItems().size(), 2);
    for (const BucketItem& piece : monitor.draggedItems()) {
        EXPECT_TRUE(piece.isLocked);
        EXPECT_EQ(piece.items.size(), 1);
    }
}

TEST_F(BucketItemViewTest, RemoveTakesEvenALockedEntryOffTheShelf) {
    show(entryOf(1, true));
    hover(true);
    button(QStringLiteral("xmark"))->click();
    EXPECT_EQ(removals, 1);
    EXPECT_TRUE(monitor.draggedItems().isEmpty());
}

TEST_F(BucketItemViewTest, ASuccessfulDragOutRemovesAnUnlockedEntry) {
    show(BucketItem({presentFile(QStringLiteral("a.txt"))}, false));
    views::DragSourceWidget* source = tile->draggableView()->dragSourceWidget();
    QTest::mousePress(source, Qt::LeftButton, {}, QPoint(20, 20));
    QMouseEvent move(QEvent::MouseMove, QPointF(30, 20), source->mapToGlobal(QPointF(30, 20)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(source, &move);
    ASSERT_EQ(session.sessions().size(), 1u);
    EXPECT_EQ(log.lines().front(), QStringLiteral("drag start"));
    EXPECT_EQ(session.sessions().front().source->supportedDropActions(
                  backend::DraggingContext::OutsideApplication),
              Qt::CopyAction | Qt::MoveAction);

    session.endLatest(Qt::CopyAction);
    EXPECT_EQ(log.lines().last(), QStringLiteral("drag end"));
    EXPECT_EQ(monitor.draggedItems().size(), 1);
    queue.advance(300ms);
    EXPECT_EQ(removals, 1);
    EXPECT_TRUE(monitor.draggedItems().isEmpty());
}

TEST_F(BucketItemViewTest, FollowsItsEntryInTheShelf) {
    const BucketItem entry = entryOf(1);
    show(entry);
    BucketItem locked = entry;
    locked.isLocked = true;
    // Another entry added in front moves this one down the list.
    monitor.setDraggedItems({entryOf(3), locked});
    EXPECT_TRUE(tile->item().isLocked);
    EXPECT_EQ(tile->contentFace()->objectName(), QStringLiteral("singlePayloadFace"));
    hover(true);
    EXPECT_NE(button(QStringLiteral("lock")), nullptr);
}

} // namespace
