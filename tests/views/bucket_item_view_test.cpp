#include "views/bucket_item_view.h"

#include "backend/qt_drag_session.h"
#include "desktop/symbol_image.h"
#include "panel/drag_monitor.h"
#include "support/fake_desktop_services.h"
#include "support/fake_drag_selection.h"
#include "support/fake_drag_session.h"
#include "support/fake_global_event_monitor.h"
#include "support/fake_main_queue.h"
#include "support/fake_thumbnails.h"
#include "support/recording_log.h"
#include "views/caption_label.h"
#include "views/content_face.h"
#include "views/drag_source_widget.h"
#include "views/draggable_view.h"
#include "views/icon_view.h"
#include "views/symbol_button.h"
#include "views/text_preview_view.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QEnterEvent>
#include <QFile>
#include <QGraphicsOpacityEffect>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

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
                                                queue, session, log, desktopServices, thumbnails,
                                                symbols, scheme);
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
        return BucketItemData(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded),
                              UTType::fileURL);
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
    void setExecutable(const BucketItemData& payload) {
        QFile file(QUrl(payload.content).toLocalFile());
        file.setPermissions(file.permissions() | QFile::ExeOwner);
    }
    static QString pathOf(const BucketItemData& payload) {
        return QUrl(payload.content).toLocalFile();
    }
    // Right-clicks the tile; its menu, open.
    QMenu* openMenu() {
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 20),
                                tile->mapToGlobal(QPoint(20, 20)));
        QApplication::sendEvent(tile.get(), &event);
        return tile->contextMenu();
    }
    static QAction* action(QMenu* menu, const QString& text) {
        for (QAction* candidate : menu->actions()) {
            if (candidate->text() == text)
                return candidate;
        }
        return nullptr;
    }
    int invalidUrlLines() const {
        return static_cast<int>(log.lines().count(QStringLiteral("Invalid URL")));
    }

    testing_support::FakeMainQueue queue;
    testing_support::FakeDragSelection dragSelection;
    testing_support::FakeGlobalEventMonitor eventMonitor;
    testing_support::RecordingLog log;
    testing_support::FakeDragSession session;
    testing_support::FakeDesktopServices desktopServices;
    testing_support::FakeThumbnails thumbnails;
    desktop::SymbolImage symbols;
    panel::DragMonitor monitor{queue, dragSelection, eventMonitor};
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
        EXPECT_TRUE(desktopServices.iconLookups().isEmpty());
        EXPECT_FALSE(shown.front()->foreground().has_value()); // the inherited colour
    } else {
        EXPECT_EQ(desktopServices.iconLookups(), QStringList{QString::fromUtf8(c.iconSource)});
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
    EXPECT_EQ(desktopServices.iconLookups(), expectedLookups);

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
    EXPECT_EQ(desktopServices.iconLookups(), QStringList{QStringLiteral("my docs/a b.pdf")});
    EXPECT_EQ(invalidUrlLines(), 1);
    EXPECT_EQ(icons().size(), 1);

    tile->setColorScheme(ColorScheme::Dark);
    EXPECT_EQ(invalidUrlLines(), 2);
    hover(true);
    EXPECT_EQ(invalidUrlLines(), 3);
    EXPECT_EQ(desktopServices.iconLookups().size(), 3);
}

TEST_F(BucketItemViewTest, AContentThatIsNoUrlAndNoFileAddressIsLookedUpAsItIs) {
    show(BucketItem({BucketItemData(QStringLiteral("a:b c"), UTType::fileURL)}, false));
    EXPECT_EQ(desktopServices.iconLookups(), QStringList{QStringLiteral("a:b c")});
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
    desktopServices.isMaskIcon = GetParam().isMaskIcon;
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
    const QList<SymbolButton*> controls = tile->controlsColumn()->findChildren<SymbolButton*>();
    ASSERT_FALSE(controls.isEmpty());
    const auto fade = [&] { return controls.front()->opacity(); };
    EXPECT_EQ(fade(), 0.0);

    hover(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return fade() == 1.0; }, 1000)) << "fades in";
    button(QStringLiteral("lock.open"))->click();
    ASSERT_NE(button(QStringLiteral("lock")), nullptr);
    hover(false);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !tile->controlsColumn()->isVisible(); }, 1000));
    EXPECT_EQ(fade(), 0.0);

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
                  backend::DragContext::OutsideApplication),
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

// Multi-payload captions say what the payloads are, told by the types given at the drop.
struct CaptionCase {
    const char* name;
    QList<UTType> types;
    const char* caption;
};

class MultiPayloadCaptionTest : public BucketItemViewTest,
                                public ::testing::WithParamInterface<CaptionCase> {};

TEST_P(MultiPayloadCaptionTest, CountsFoldersFilesOrItems) {
    QList<BucketItemData> payloads;
    int n = 0;
    for (const UTType& type : GetParam().types) {
        const QString number = QString::number(n++);
        if (type == UTType::folder)
            payloads << BucketItemData(QStringLiteral("file:///home/demo/d%1/").arg(number), type);
        else if (type == UTType::plainText)
            payloads << BucketItemData(QStringLiteral("some text ") + number, type);
        else if (type == UTType::url)
            payloads << BucketItemData(QStringLiteral("https://example.org/") + number, type);
        else
            payloads << BucketItemData(QStringLiteral("file:///home/demo/f%1.x").arg(number), type);
    }
    show(BucketItem(payloads, false));
    EXPECT_EQ(caption(), QString::fromUtf8(GetParam().caption));
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, MultiPayloadCaptionTest,
    ::testing::Values(
        CaptionCase{"allFiles", {UTType::fileURL, UTType::png, UTType::fileURL}, "3 files"},
        CaptionCase{"allFolders", {UTType::folder, UTType::folder}, "2 folders"},
        CaptionCase{"foldersAndFiles",
                    {UTType::fileURL, UTType::folder, UTType::png, UTType::fileURL},
                    "1 folder, 3 files"},
        CaptionCase{"twoFoldersOneFile",
                    {UTType::folder, UTType::fileURL, UTType::folder},
                    "2 folders, 1 file"},
        CaptionCase{"aTextAmongThem",
                    {UTType::fileURL, UTType::plainText, UTType::folder, UTType::url},
                    "4 items"},
        CaptionCase{"onlyTexts", {UTType::plainText, UTType::plainText}, "2 items"},
        CaptionCase{"onlyLinks", {UTType::url, UTType::url, UTType::url}, "3 items"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BucketItemViewTest, ALockedEntryShowsItsBadgeWhetherHoveredOrNot) {
    show(entryOf(2, true));
    QWidget* badge = tile->lockBadge();
    EXPECT_TRUE(badge->isVisible());
    EXPECT_FALSE(tile->controlsColumn()->isVisible());
    EXPECT_TRUE(tile->rect().contains(badge->geometry()));
    EXPECT_EQ(tile->childAt(badge->geometry().center()), tile->draggableView()->dragSourceWidget())
        << "presses go through the badge to the drag source";

    hover(true);
    EXPECT_TRUE(badge->isVisible());
    EXPECT_FALSE(badge->geometry().intersects(tile->controlsColumn()->geometry()));
    button(QStringLiteral("lock"))->click();
    EXPECT_FALSE(badge->isVisible()) << "unlocked";
    hover(false);
    EXPECT_FALSE(badge->isVisible());
    monitor.updateItem([&] {
        BucketItem locked = monitor.draggedItems().front();
        locked.isLocked = true;
        return locked;
    }());
    EXPECT_TRUE(badge->isVisible()) << "locked elsewhere";
}

TEST_F(BucketItemViewTest, AControlUnderThePointerIsHighlightedAndNamesWhatItDoes) {
    show(entryOf(2));
    hover(true);
    SymbolButton* lock = button(QStringLiteral("lock.open"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return lock->opacity() == 1.0; }, 1000)) << "faded in";
    const QString lockTip = lock->toolTip();
    // A point of the target clear of the symbol: it changes while the pointer is over it.
    const QPoint edge(lock->width() / 2, 2);
    const QColor plain = lock->grab().toImage().pixelColor(edge);

    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), lock->mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(lock, &enter);
    EXPECT_TRUE(lock->isHighlighted());
    EXPECT_NE(lock->grab().toImage().pixelColor(edge), plain);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(lock, &leave);
    EXPECT_FALSE(lock->isHighlighted());
    EXPECT_EQ(lock->grab().toImage().pixelColor(edge), plain);

    lock->click();
    EXPECT_NE(button(QStringLiteral("lock"))->toolTip(), lockTip) << "says it unlocks now";
}

TEST_F(BucketItemViewTest, AnElidedCaptionGivesItsFullNameAsTooltip) {
    const QString longName =
        QStringLiteral("Quarterly report for the board meeting, final version.pdf");
    for (const QString& name : {QStringLiteral("a.pdf"), longName}) {
        show(BucketItem({BucketItemData(QStringLiteral("file:///home/demo/") + name, UTType::pdf)},
                        false));
        QToolTip::hideText();
        QHelpEvent help(QEvent::ToolTip, QPoint(30, 30), tile->mapToGlobal(QPoint(30, 30)));
        QApplication::sendEvent(tile.get(), &help);
        if (name == longName) {
            EXPECT_EQ(tile->toolTipText(), longName);
            EXPECT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }, 1000));
            EXPECT_EQ(QToolTip::text(), longName);
        } else {
            EXPECT_TRUE(tile->toolTipText().isEmpty()) << "shown in full already";
            EXPECT_FALSE(QToolTip::isVisible());
        }
    }
    QToolTip::hideText();
}

TEST_F(BucketItemViewTest, TheContextMenuOffersWhatTheEntryAllows) {
    struct Case {
        const char* name;
        QList<BucketItemData> payloads;
        QStringList disabled;
    };
    const QList<Case> cases = {
        {"two files",
         {presentFile(QStringLiteral("a.txt")), presentFile(QStringLiteral("b.txt"))},
         {}},
        {"one file", {presentFile(QStringLiteral("a.txt"))}, {QStringLiteral("Split")}},
        {"a text",
         {BucketItemData(QStringLiteral("hello"), UTType::plainText)},
         {QStringLiteral("Open"), QStringLiteral("Show in Folder"), QStringLiteral("Copy Path"),
          QStringLiteral("Split")}},
        {"a link",
         {BucketItemData(QStringLiteral("https://example.org/"), UTType::url)},
         {QStringLiteral("Show in Folder"), QStringLiteral("Copy Path"), QStringLiteral("Split")}},
        {"a file that is gone",
         {BucketItemData(QStringLiteral("file:///no/such/file.txt"), UTType::fileURL)},
         {QStringLiteral("Open"), QStringLiteral("Show in Folder"), QStringLiteral("Copy"),
          QStringLiteral("Split")}},
    };
    for (const Case& c : cases) {
        show(BucketItem(c.payloads, false));
        QMenu* menu = openMenu();
        ASSERT_NE(menu, nullptr) << c.name;
        EXPECT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }, 1000)) << c.name;
        QStringList rows;
        QStringList disabled;
        for (QAction* row : menu->actions()) {
            rows << (row->isSeparator() ? QStringLiteral("---") : row->text());
            if (!row->isSeparator() && !row->isEnabled())
                disabled << row->text();
        }
        EXPECT_EQ(rows, (QStringList{"Open", "Show in Folder", "---", "Copy", "Copy Path", "---",
                                     "Lock", "Split", "---", "Remove"}))
            << c.name;
        EXPECT_EQ(disabled, c.disabled) << c.name;
        menu->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(tile->contextMenu(), nullptr) << "a closed menu goes";
    }
}

TEST_F(BucketItemViewTest, OpenHandsFilesAndLinksToTheDesktopButNeverStartsAProgram) {
    const BucketItemData document = presentFile(QStringLiteral("notes.txt"));
    const BucketItemData script = presentFile(QStringLiteral("run.sh"));
    setExecutable(script);
    const BucketItemData launcher = presentFile(QStringLiteral("tool.desktop"));
    const BucketItemData link(QStringLiteral("https://example.org/page"), UTType::url);
    const BucketItemData text(QStringLiteral("just words"), UTType::plainText);
    const BucketItemData gone(QUrl::fromLocalFile(files.filePath(QStringLiteral("gone.txt")))
                                  .toString(QUrl::FullyEncoded),
                              UTType::fileURL);
    show(BucketItem({document, script, launcher, link, text, gone}, false));

    action(openMenu(), QStringLiteral("Open"))->trigger();
    EXPECT_EQ(desktopServices.openedUrls(),
              (QList<QUrl>{QUrl(document.content), QUrl(link.content)}));
    EXPECT_EQ(desktopServices.shownItems(),
              (QList<QList<QUrl>>{{QUrl(script.content), QUrl(launcher.content)}}));

    action(openMenu(), QStringLiteral("Show in Folder"))->trigger();
    ASSERT_EQ(desktopServices.shownItems().size(), 2);
    EXPECT_EQ(desktopServices.shownItems().last(),
              (QList<QUrl>{QUrl(document.content), QUrl(script.content), QUrl(launcher.content)}))
        << "the files that are there";

    action(openMenu(), QStringLiteral("Copy Path"))->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringList({pathOf(document), pathOf(script), pathOf(launcher), pathOf(gone)})
                  .join(QLatin1Char('\n')));
}

TEST_F(BucketItemViewTest, ADoubleClickOpens) {
    const BucketItemData document = presentFile(QStringLiteral("notes.txt"));
    show(BucketItem({document}, false));
    QTest::mouseDClick(tile->draggableView()->dragSourceWidget(), Qt::LeftButton, {},
                       QPoint(20, 20));
    EXPECT_EQ(desktopServices.openedUrls(), QList<QUrl>{QUrl(document.content)});
    EXPECT_TRUE(session.sessions().empty()) << "no drag";

    QTest::mouseDClick(tile->draggableView()->dragSourceWidget(), Qt::RightButton, {},
                       QPoint(20, 20));
    EXPECT_EQ(desktopServices.openedUrls().size(), 1) << "only with the left button";
}

TEST_F(BucketItemViewTest, CopyPutsOnTheClipboardWhatADragOutOffers) {
    const BucketItemData gone(QStringLiteral("file:///no/such/file.txt"), UTType::fileURL);
    show(BucketItem({presentFile(QStringLiteral("a b.txt")), gone,
                     BucketItemData(QStringLiteral("https://example.org/"), UTType::url),
                     BucketItemData(QStringLiteral("hello"), UTType::plainText),
                     presentFile(QStringLiteral("c.png"))},
                    false));
    action(openMenu(), QStringLiteral("Copy"))->trigger();
    beginDragOut();
    ASSERT_EQ(session.sessions().size(), 1u);
    const std::unique_ptr<QMimeData> dragged =
        backend::makeDragMimeData(session.sessions().front().items);
    const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(copied->formats(), dragged->formats());
    for (const QString& format : dragged->formats())
        EXPECT_EQ(copied->data(format), dragged->data(format)) << format.toStdString();
    EXPECT_FALSE(copied->data(QStringLiteral("text/uri-list")).contains("no/such"));
    EXPECT_EQ(copied->data(QStringLiteral("text/plain")), "https://example.org/\nhello");
    session.endLatest(Qt::IgnoreAction);
}

TEST_F(BucketItemViewTest, LockSplitAndRemoveFromTheMenu) {
    show(BucketItem({presentFile(QStringLiteral("a.txt")), presentFile(QStringLiteral("b.txt"))},
                    false));
    action(openMenu(), QStringLiteral("Lock"))->trigger();
    EXPECT_TRUE(monitor.draggedItems().front().isLocked);
    ASSERT_NE(action(openMenu(), QStringLiteral("Unlock")), nullptr);
    action(tile->contextMenu(), QStringLiteral("Remove"))->trigger();
    EXPECT_EQ(removals, 1);
    EXPECT_TRUE(monitor.draggedItems().isEmpty());

    show(BucketItem({presentFile(QStringLiteral("a.txt")), presentFile(QStringLiteral("b.txt"))},
                    true));
    action(openMenu(), QStringLiteral("Split"))->trigger();
    ASSERT_EQ(monitor.draggedItems().size(), 2);
    EXPECT_TRUE(monitor.draggedItems().front().isLocked);
}

TEST_F(BucketItemViewTest, FilesThatAreGoneAreNotOfferedAndAllGoneDimsTheTile) {
    const BucketItemData a = presentFile(QStringLiteral("a.txt"));
    const BucketItemData b = presentFile(QStringLiteral("b.txt"));
    show(BucketItem({a, b}, false));
    auto dimming = [this] {
        auto* effect =
            qobject_cast<QGraphicsOpacityEffect*>(tile->draggableView()->graphicsEffect());
        return effect ? effect->opacity() : 1.0;
    };
    hover(true);
    EXPECT_FALSE(tile->isMissing());

    // One of two gone: the drag offers the other, and the entry leaves as usual.
    ASSERT_TRUE(QFile::remove(pathOf(a)));
    hover(false);
    hover(true);
    EXPECT_FALSE(tile->isMissing());
    EXPECT_EQ(dimming(), 1.0);
    beginDragOut();
    ASSERT_EQ(session.sessions().size(), 1u);
    ASSERT_EQ(session.sessions().front().items.size(), 1);
    EXPECT_EQ(std::get<QUrl>(session.sessions().front().items.front().writer), QUrl(b.content));
    session.endLatest(Qt::IgnoreAction);

    // Both gone: seen on hover, dimmed, said in the tooltip; no drag begins and nothing leaves.
    ASSERT_TRUE(QFile::remove(pathOf(b)));
    hover(false);
    hover(true);
    EXPECT_TRUE(tile->isMissing());
    EXPECT_DOUBLE_EQ(dimming(), 0.4);
    EXPECT_TRUE(tile->toolTipText().contains(QStringLiteral("missing")));
    const qsizetype linesBefore = log.lines().size();
    beginDragOut();
    EXPECT_EQ(session.sessions().size(), 1u);
    EXPECT_EQ(log.lines().size(), linesBefore) << "no drag start, nothing provided";
    queue.advance(300ms);
    EXPECT_EQ(monitor.draggedItems().size(), 1);

    // Back again (restored from the trash): the next hover shows it as before.
    QFile(pathOf(b)).open(QIODevice::WriteOnly);
    hover(false);
    hover(true);
    EXPECT_FALSE(tile->isMissing());
    EXPECT_EQ(dimming(), 1.0);
    EXPECT_TRUE(tile->toolTipText().isEmpty());
}

TEST_F(BucketItemViewTest, ADragOutFindsFilesGoneSinceTheHover) {
    const BucketItemData a = presentFile(QStringLiteral("a.txt"));
    show(BucketItem({a}, false));
    hover(true);
    ASSERT_TRUE(QFile::remove(pathOf(a)));
    beginDragOut();
    EXPECT_TRUE(session.sessions().empty());
    EXPECT_TRUE(tile->isMissing());
    EXPECT_EQ(tile->toolTipText(),
              QStringLiteral("This file is missing: it was moved or deleted."));
}

TEST_F(BucketItemViewTest, TextsAndLinksAreNeverMissing) {
    show(BucketItem({BucketItemData(QStringLiteral("hello"), UTType::plainText),
                     BucketItemData(QStringLiteral("https://example.org/"), UTType::url)},
                    false));
    hover(true);
    EXPECT_FALSE(tile->isMissing());
    beginDragOut();
    EXPECT_EQ(session.sessions().size(), 1u);
    session.endLatest(Qt::IgnoreAction);
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
    EXPECT_TRUE(desktopServices.iconLookups().isEmpty());
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

// A caption of a text of megabytes is made from its two ends only; it still reads as the text
// elided, and never splits a character made of two UTF-16 units.
TEST_F(BucketItemViewTest, AHugeTextsCaptionShowsItsEnds) {
    const QString emoji = QStringLiteral("\U0001F600");
    const QString text = QString(199, QLatin1Char('a')) + emoji +
                         QString(2'000'000, QLatin1Char('m')) + emoji +
                         QString(199, QLatin1Char('z'));
    show(BucketItem({BucketItemData(text, UTType::plainText)}, false));
    auto* caption = tile->contentFace()->findChild<views::CaptionLabel*>();
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->text(), text) << "the caption keeps the whole text";
    EXPECT_TRUE(caption->isElided());
    const QString shown = caption->displayedText();
    EXPECT_TRUE(shown.startsWith(QLatin1Char('a'))) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QLatin1Char('z'))) << shown.toStdString();
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (shown.at(i).isHighSurrogate())
            EXPECT_TRUE(i + 1 < shown.size() && shown.at(i + 1).isLowSurrogate());
        else
            EXPECT_FALSE(shown.at(i).isLowSurrogate()) << "a lone half at " << i;
    }
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
    EXPECT_EQ(desktopServices.iconLookups().size(), 1) << "no icon looked up for a thumbnail";

    // Shown anew (a hover), the thumbnail at hand is used at once.
    hover(true);
    EXPECT_EQ(centreOf(icon), QColor(Qt::green));
    EXPECT_EQ(desktopServices.iconLookups().size(), 1);

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
    EXPECT_EQ(desktopServices.iconLookups(),
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
