#include "views/bucket_item_view.h"

#include "desktop/symbol_image.h"
#include "panel/drag_monitor.h"
#include "support/fake_drag_pasteboard.h"
#include "support/fake_drag_session.h"
#include "support/fake_global_event_monitor.h"
#include "support/fake_main_queue.h"
#include "support/fake_thumbnails.h"
#include "support/fake_workspace.h"
#include "support/recording_log.h"
#include "views/caption_label.h"
#include "views/content_face.h"
#include "views/drag_source_widget.h"
#include "views/draggable_view.h"
#include "views/icon_view.h"
#include "views/symbol_button.h"
#include "views/text_preview_view.h"

#include <QApplication>
#include <QEnterEvent>
#include <QGraphicsOpacityEffect>
#include <QPointer>
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
        tile =
            std::make_unique<BucketItemView>(monitor.shelfModel().index(0), monitor, actions, queue,
                                             session, log, workspace, thumbnails, symbols, scheme);
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
    int invalidUrlLines() const {
        return static_cast<int>(log.lines().count(QStringLiteral("Invalid URL")));
    }

    testing_support::FakeMainQueue queue;
    testing_support::FakeDragPasteboard pasteboard;
    testing_support::FakeGlobalEventMonitor eventMonitor;
    testing_support::RecordingLog log;
    testing_support::FakeDragSession session;
    testing_support::FakeWorkspace workspace;
    testing_support::FakeThumbnails thumbnails;
    desktop::SymbolImage symbols;
    panel::DragMonitor monitor{queue, pasteboard, eventMonitor};
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
    ::testing::Values(SingleCase{"file:///Users/a/Report.pdf", UTType::pdf, "/Users/a/Report.pdf",
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
    EXPECT_EQ(column.height(), 70);
    EXPECT_NEAR(column.left() + column.width() / 2.0, 75 + 48, 1.0);

    const QList<QPair<QString, int>> expected = {{QStringLiteral("lock.open"), 15},
                                                 {QStringLiteral("arrow.trianglehead.branch"), 12},
                                                 {QStringLiteral("xmark"), 11}};
    int previousBottom = -1;
    for (const auto& [symbol, height] : expected) {
        SymbolButton* b = button(symbol);
        ASSERT_NE(b, nullptr) << symbol.toStdString();
        EXPECT_TRUE(b->isVisible());
        EXPECT_EQ(b->height(), height);
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
    show(entryOf(1, false));
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

namespace {

using views::TextPreviewView;

QImage solid(QColor colour) {
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QColor centreOf(IconView* icon) {
    return icon->grab().toImage().pixelColor(icon->imageRect().center());
}

TEST_F(BucketItemViewTest, ATextShowsItsFirstLinesOnAPageOfTheScheme) {
    const QString text = QStringLiteral("\n  Shopping\r\n\tmilk\n\nbread\x01"
                                        "eggs\n4\n5\n6\n7\n8");
    show(BucketItem({BucketItemData(text, UTType::plainText)}, false));
    EXPECT_TRUE(icons().isEmpty()) << "no glyph";
    auto* preview = tile->contentFace()->findChild<TextPreviewView*>();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->kind(), TextPreviewView::Kind::Text);
    EXPECT_EQ(preview->lines(), (QStringList{QStringLiteral("Shopping"), QStringLiteral("milk"),
                                             QString(), QStringLiteral("bread eggs"),
                                             QStringLiteral("4"), QStringLiteral("5")}));
    EXPECT_EQ(caption(), text.trimmed()) << "the caption stays";
    EXPECT_TRUE(workspace.iconLookups().isEmpty());
    EXPECT_TRUE(thumbnails.requests().isEmpty());
    const QRect page = preview->pageRect();
    ASSERT_GT(page.height(), 40);
    EXPECT_EQ(preview->pageColor(), QColor(Qt::white));
    const QImage light = preview->grab().toImage();
    EXPECT_EQ(light.pixelColor(page.bottomRight() - QPoint(3, 3)), QColor(Qt::white));

    tile->setColorScheme(ColorScheme::Dark);
    EXPECT_EQ(tile->contentFace()->findChild<TextPreviewView*>(), preview) << "kept";
    EXPECT_LT(preview->pageColor().lightness(), 80);
    EXPECT_GT(preview->textColor().lightness(), 180);
}

TEST_F(BucketItemViewTest, AHugeTextIsLookedAtOnlyAsFarAsItsFirstCharacters) {
    // One endless line and a text with its second line far beyond the limit.
    const QString line(200'000, QLatin1Char('x'));
    show(BucketItem({BucketItemData(line, UTType::plainText)}, false));
    auto* preview = tile->contentFace()->findChild<TextPreviewView*>();
    ASSERT_NE(preview, nullptr);
    ASSERT_EQ(preview->lines().size(), 1);
    EXPECT_EQ(preview->lines().front().size(), TextPreviewView::kMaxCharacters);
    preview->grab();

    const QString late =
        QStringLiteral("first") + QString(1000, QLatin1Char(' ')) + QStringLiteral("\nsecond");
    preview->setText(late, TextPreviewView::Kind::Text, ColorScheme::Light);
    EXPECT_EQ(preview->lines(), QStringList{QStringLiteral("first")});
}

struct LinkCase {
    const char* content;
    UTType type;
    QStringList lines; // empty: no link
};

class LinkFaceTest : public BucketItemViewTest, public ::testing::WithParamInterface<LinkCase> {};

TEST_P(LinkFaceTest, AWebAddressShowsAsALinkWithItsHost) {
    const LinkCase& c = GetParam();
    show(BucketItem({BucketItemData(QString::fromUtf8(c.content), c.type)}, false));
    auto* preview = tile->contentFace()->findChild<TextPreviewView*>();
    if (c.lines.isEmpty()) {
        EXPECT_TRUE(!preview || preview->kind() == TextPreviewView::Kind::Text);
        return;
    }
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->kind(), TextPreviewView::Kind::Link);
    EXPECT_EQ(preview->lines(), c.lines);
    EXPECT_TRUE(icons().isEmpty());
    EXPECT_TRUE(thumbnails.requests().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, LinkFaceTest,
    ::testing::Values(
        LinkCase{"https://www.example.org/wiki/Caf%C3%A9?lang=fr",
                 UTType::fileURL,
                 {QStringLiteral("www.example.org"), QStringLiteral("/wiki/Café?lang=fr")}},
        LinkCase{"http://example.com/", UTType::fileURL, {QStringLiteral("example.com")}},
        LinkCase{" https://example.com/a\n",
                 UTType::plainText,
                 {QStringLiteral("example.com"), QStringLiteral("/a")}},
        LinkCase{"see https://example.com", UTType::plainText, {}},
        LinkCase{"mailto:someone@example.com", UTType::plainText, {}}));

TEST_F(BucketItemViewTest, AFilesThumbnailReplacesItsIconWhenItComes) {
    const QString photo = QStringLiteral("/home/demo/photo 1.jpg");
    show(BucketItem(
        {BucketItemData(QStringLiteral("file:///home/demo/photo%201.jpg"), UTType::jpeg)}, false));
    ASSERT_EQ(icons().size(), 1);
    IconView* icon = icons().front();
    EXPECT_EQ(thumbnails.requests(), QStringList{photo});
    EXPECT_GE(thumbnails.lastEdge(), 90);
    EXPECT_EQ(centreOf(icon), QColor(200, 40, 40)) << "the type icon until then";

    thumbnails.setThumbnail(photo, solid(Qt::green));
    EXPECT_EQ(icons(), QList<IconView*>{icon}) << "the same widget";
    EXPECT_EQ(icon->source(), photo);
    EXPECT_EQ(centreOf(icon), QColor(Qt::green));
    EXPECT_EQ(workspace.iconLookups().size(), 1) << "no icon looked up for a thumbnail";

    // Shown anew (a hover), the thumbnail at hand is used at once.
    hover(true);
    EXPECT_EQ(centreOf(icon), QColor(Qt::green));
    EXPECT_EQ(workspace.iconLookups().size(), 1);

    // A thumbnail that goes (its file became unreadable) gives the type icon back.
    thumbnails.setThumbnail(photo, QImage());
    EXPECT_EQ(centreOf(icon), QColor(200, 40, 40));
    thumbnails.setThumbnail(QStringLiteral("/home/demo/other.jpg"), solid(Qt::blue));
    EXPECT_EQ(centreOf(icon), QColor(200, 40, 40));
    EXPECT_EQ(invalidUrlLines(), 0);
}

TEST_F(BucketItemViewTest, TheCascadeShowsThumbnailsOfLocalFilesOnly) {
    thumbnails.setThumbnail(QStringLiteral("/home/demo/a.png"), solid(Qt::green));
    show(BucketItem({BucketItemData(QStringLiteral("file:///home/demo/a.png"), UTType::png),
                     BucketItemData(QStringLiteral("file:///home/demo/Projects/"), UTType::folder),
                     BucketItemData(QStringLiteral("https://example.com/b.png"), UTType::fileURL),
                     BucketItemData(QStringLiteral("file:///home/demo/c.png"), UTType::png)},
                    false));
    const QList<IconView*> shown = icons();
    ASSERT_EQ(shown.size(), 3);
    EXPECT_EQ(thumbnails.requests(), QStringList{QStringLiteral("/home/demo/a.png")})
        << "no thumbnails for folders, web addresses and payloads out of sight";
    EXPECT_EQ(centreOf(shown[0]), QColor(Qt::green));
    EXPECT_EQ(workspace.iconLookups(),
              (QStringList{QStringLiteral("/home/demo/Projects/"), QStringLiteral("/b.png")}));
}

TEST_F(BucketItemViewTest, AThumbnailArrivingForAnInvalidAddressEntryReportsNothingAgain) {
    show(BucketItem({BucketItemData(QStringLiteral("file:///home/demo/a.png"), UTType::png),
                     BucketItemData(QStringLiteral("file://my docs/b.pdf"), UTType::fileURL)},
                    false));
    EXPECT_EQ(invalidUrlLines(), 1);
    thumbnails.setThumbnail(QStringLiteral("/home/demo/a.png"), solid(Qt::green));
    EXPECT_EQ(centreOf(icons().front()), QColor(Qt::green));
    EXPECT_EQ(invalidUrlLines(), 1) << "only the picture changed";
}

} // namespace
