#include "views/content_view.h"

#include "panel/drag_monitor.h"
#include "panel/non_activating_panel.h"
#include "panel/window_manager.h"
#include "preferences/settings_access/settings_access_environment.h"
#include "shelf/mime_item_provider_factory.h"
#include "support/fake_platform.h"
#include "support/fake_window_system.h"
#include "support/qt_printers.h"
#include "support/wait_until.h"
#include "views/bucket_item_view.h"
#include "views/drag_source_widget.h"
#include "views/draggable_view.h"
#include "views/drop_region_view.h"
#include "views/lazy_list_view.h"
#include "views/symbol_button.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QToolTip>
#include <QWindow>

using namespace std::chrono_literals;

using backend::DragContent;
using desktop::ColorScheme;
using shelf::BucketItem;
using shelf::BucketItemData;
using shelf::UTType;

namespace {

class ContentViewTest : public ::testing::Test {
protected:
    ContentViewTest() {
        dragMonitor = std::make_unique<panel::DragMonitor>(queue, dragSelection, events);
        windowManager = std::make_unique<panel::WindowManager>(fakes.screens, nullptr);
    }

    // Installs the shelf view in the panel as start-up does, and lets it appear.
    void install() {
        view = new views::ContentView(*dragMonitor, *windowManager, queue, fakes.log, session,
                                      desktopServices, fakes.thumbnails, fakes.symbols, application,
                                      colorSchemes, providers, settings);
        windowManager->window()->setContentView(view);
        view->show();
    }

    bool isPanelVisible() const { return windowManager->window()->isPresented(); }

    // An entry of files that are there: a drag out offers only those.
    BucketItem entry(int payloads, bool locked = false) {
        QList<BucketItemData> items;
        for (int i = 0; i < payloads; ++i) {
            const QString path = files.filePath(QStringLiteral("f%1.txt").arg(i));
            QFile(path).open(QIODevice::WriteOnly);
            items << BucketItemData(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded),
                                    UTType::fileURL);
        }
        return BucketItem(items, locked);
    }

    QList<views::BucketItemView*> tilesTopDown() const {
        QList<views::BucketItemView*> tiles;
        for (int row = 0; row < view->entryList()->rowCount(); ++row) {
            if (auto* tile =
                    qobject_cast<views::BucketItemView*>(view->entryList()->widgetForRow(row)))
                tiles << tile;
        }
        return tiles;
    }

    // Presses on a tile and moves far enough to begin dragging it out.
    void beginDragOut(views::BucketItemView* tile) {
        QWidget* source = tile->draggableView()->dragSourceWidget();
        auto send = [source](QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
            QMouseEvent event(type, at, source->mapToGlobal(at), Qt::LeftButton, buttons,
                              Qt::NoModifier);
            QCoreApplication::sendEvent(source, &event);
        };
        send(QEvent::MouseButtonPress, {20, 20}, Qt::LeftButton);
        send(QEvent::MouseMove, {30, 20}, Qt::LeftButton);
    }

    static QStringList menuRows(const QMenu& menu) {
        QStringList rows;
        for (QAction* action : menu.actions())
            rows << (action->isSeparator() ? QStringLiteral("---") : action->text());
        return rows;
    }

    testing_support::FakePlatform fakes;
    testing_support::FakeMainQueue& queue = fakes.queue;
    testing_support::FakeDragSelection& dragSelection = fakes.dragSelection;
    testing_support::FakeGlobalEventMonitor& events = fakes.events;
    testing_support::FakeDragSession& session = fakes.session;
    testing_support::FakeDesktopServices& desktopServices = fakes.desktopServices;
    testing_support::FakeApplication& application = fakes.application;
    desktop::ColorSchemeService& colorSchemes = fakes.colorSchemes;
    QTemporaryDir cache;
    QTemporaryDir files;
    shelf::MimeItemProviderFactory providers{cache.path()};
    settings_access::SettingsAccessEnvironment settings;
    std::unique_ptr<panel::DragMonitor> dragMonitor;
    std::unique_ptr<panel::WindowManager> windowManager;
    views::ContentView* view = nullptr; // owned by the panel
};

} // namespace

TEST_F(ContentViewTest, VisibilityFollowsDragShelfAndPointer) {
    ASSERT_TRUE(isPanelVisible()) << "the window manager shows the panel when it builds it";
    install();
    EXPECT_FALSE(isPanelVisible()) << "first appearance: empty, idle, pointer outside";

    dragMonitor->setIsDragging(true);
    EXPECT_TRUE(isPanelVisible());
    dragMonitor->setIsDragging(false);
    EXPECT_FALSE(isPanelVisible());

    dragMonitor->setIsCursorInside(true);
    EXPECT_TRUE(isPanelVisible()) << "pointer over the empty shelf keeps it up";
    dragMonitor->setIsCursorInside(false);
    EXPECT_FALSE(isPanelVisible());

    dragMonitor->addItem(entry(1, /*locked*/ true));
    EXPECT_TRUE(isPanelVisible());
    BucketItem unlocked = dragMonitor->draggedItems().first();
    unlocked.isLocked = false;
    dragMonitor->updateItem(unlocked); // a lock toggle is a shelf change: still shown
    EXPECT_TRUE(isPanelVisible());

    dragMonitor->clearItems();
    EXPECT_TRUE(isPanelVisible()) << "clearing takes one turn";
    queue.drain();
    EXPECT_TRUE(dragMonitor->draggedItems().isEmpty());
    EXPECT_FALSE(isPanelVisible());
    EXPECT_TRUE(view->isShowingDropRegion());
}

TEST_F(ContentViewTest, HoverReportsThePointerToTheMonitor) {
    install();
    QEnterEvent enter({10, 10}, {10, 10}, {10, 10});
    QCoreApplication::sendEvent(view, &enter);
    EXPECT_TRUE(dragMonitor->isCursorInside());
    EXPECT_TRUE(isPanelVisible());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(view, &leave);
    EXPECT_FALSE(dragMonitor->isCursorInside());
    EXPECT_FALSE(isPanelVisible());
}

TEST_F(ContentViewTest, FacesFollowTheShelfAndTheDrag) {
    install();
    ASSERT_TRUE(view->isShowingDropRegion());
    EXPECT_EQ(view->entryList(), nullptr);

    const BucketItem oldest = entry(1), middle = entry(2), newest = entry(3);
    for (const BucketItem& e : {oldest, middle, newest})
        dragMonitor->addItem(e);
    ASSERT_FALSE(view->isShowingDropRegion());
    ASSERT_NE(view->entryList(), nullptr);
    const auto tiles = tilesTopDown();
    ASSERT_EQ(tiles.size(), 3);
    EXPECT_EQ(tiles[0]->item().id, newest.id) << "newest first";
    EXPECT_EQ(tiles[2]->item().id, oldest.id);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(tiles[i]->geometry(), QRect(5, 4 + i * 94, 150, 90)) << i;
    }
    EXPECT_TRUE(view->clearButton()->isVisible());

    // A system drag replaces the list by a fresh drop region; its end brings the list back.
    dragMonitor->setIsDragging(true);
    ASSERT_TRUE(view->isShowingDropRegion());
    EXPECT_FALSE(view->dropRegion()->isDragTargeted());
    dragMonitor->setIsDragging(false);
    EXPECT_FALSE(view->isShowingDropRegion());
    EXPECT_EQ(tilesTopDown().size(), 3);
}

TEST_F(ContentViewTest, SplitAndRemoveUpdateTheListInPlace) {
    install();
    dragMonitor->addItem(entry(1));
    dragMonitor->addItem(entry(3));
    views::BucketItemView* untouched = tilesTopDown().at(1);
    dragMonitor->splitItem(dragMonitor->draggedItems().first());
    auto tiles = tilesTopDown();
    ASSERT_EQ(tiles.size(), 4);
    EXPECT_EQ(tiles[3], untouched) << "the other entry keeps its tile";
    EXPECT_EQ(tiles[3]->geometry().top(), 4 + 3 * 94);

    dragMonitor->removeItem(dragMonitor->draggedItems().at(1));
    EXPECT_EQ(tilesTopDown().size(), 3);
}

TEST_F(ContentViewTest, ALockChangeShowsOnlyItsOwnTileAnew) {
    install();
    for (int i = 0; i < 3; ++i)
        dragMonitor->addItem(entry(1));
    const auto tiles = tilesTopDown();
    ASSERT_EQ(tiles.size(), 3);
    const qsizetype lookups = desktopServices.iconLookups().size();

    BucketItem lockedEntry = dragMonitor->draggedItems().at(1);
    lockedEntry.isLocked = true;
    dragMonitor->updateItem(lockedEntry);
    EXPECT_EQ(tilesTopDown(), tiles) << "every tile stays";
    EXPECT_TRUE(tiles[1]->item().isLocked);
    EXPECT_EQ(desktopServices.iconLookups().size(), lookups + 1) << "only the locked tile's icon";
}

TEST_F(ContentViewTest, DragOutHidesThePanelAndResetsTheChangeCountAtTheEnd) {
    install();
    dragMonitor->addItem(entry(1));
    ASSERT_TRUE(isPanelVisible());
    views::BucketItemView* tile = tilesTopDown().first();
    beginDragOut(tile);
    ASSERT_EQ(session.sessions().size(), 1u);
    EXPECT_FALSE(isPanelVisible()) << "hidden as the drag begins";

    dragSelection.startDrag({DragContent::Url}); // Holdfin's own drag wrote the drag selection
    session.endLatest(Qt::CopyAction);
    EXPECT_TRUE(isPanelVisible()) << "shown again at the end";
    EXPECT_EQ(dragMonitor->lastChangeCount(), dragSelection.serial());
    events.leftMouseDragged(); // the next drag event finds no change
    queue.drain();
    EXPECT_FALSE(dragMonitor->isDragging());

    EXPECT_EQ(dragMonitor->draggedItems().size(), 1) << "the success action waits 0.3 s";
    queue.advance(300ms);
    EXPECT_TRUE(dragMonitor->draggedItems().isEmpty());
    EXPECT_FALSE(isPanelVisible()) << "empty, idle, pointer outside";
}

// In a Wayland session a panel taken away under the pressed button hands the pointer to the
// window below, and the drag out stalls: the panel stays in sight until the drag has ended.
TEST_F(ContentViewTest, WhereTheDragSourceMustStayTheDragOutLeavesThePanelInPlace) {
    // Outlives the fixture's manager, which keeps a pointer to it.
    static testing_support::FakeWindowSystem windowSystem;
    windowSystem.setKeepsDragSourceInPlace(true);
    windowManager = std::make_unique<panel::WindowManager>(fakes.screens, &windowSystem);
    install();
    dragMonitor->addItem(entry(1));
    const QRect frame = windowManager->window()->geometry();
    beginDragOut(tilesTopDown().first());
    ASSERT_EQ(session.sessions().size(), 1u);
    EXPECT_TRUE(isPanelVisible());
    EXPECT_EQ(windowManager->window()->geometry(), frame);

    dragSelection.startDrag({DragContent::Url});
    session.endLatest(Qt::IgnoreAction);
    EXPECT_TRUE(isPanelVisible());
    EXPECT_EQ(dragMonitor->draggedItems().size(), 1) << "refused: the entry stays";
}

TEST_F(ContentViewTest, SuccessfulDragOutRemovesTheEntryAsTheShelfHoldsItThen) {
    install();
    dragMonitor->addItem(entry(2));
    beginDragOut(tilesTopDown().first());
    session.endLatest(Qt::MoveAction);
    // The entry changes meanwhile (a stale copy would no longer match): still removed.
    BucketItem relabelled = dragMonitor->draggedItems().first();
    dragMonitor->addItem(entry(1));
    queue.advance(300ms);
    ASSERT_EQ(dragMonitor->draggedItems().size(), 1);
    EXPECT_NE(dragMonitor->draggedItems().first().id, relabelled.id);
    dragMonitor->history().undo();
    EXPECT_EQ(dragMonitor->draggedItems().size(), 2) << "a drag out can be undone";

    // A destination that accepted but took nothing: the entry stays.
    beginDragOut(tilesTopDown().first());
    session.endLatest(Qt::CopyAction, false);
    queue.advance(1s);
    EXPECT_EQ(dragMonitor->draggedItems().size(), 2);
}

TEST_F(ContentViewTest, MenuRowsAndActions) {
    install();
    dragMonitor->addItem(entry(1));
    ASSERT_NE(view->menu(), nullptr);
    EXPECT_EQ(menuRows(*view->menu()),
              (QStringList{"About Holdfin", "Preferences\u2026", "---", "Quit Holdfin"}));
    view->menu()->actions().at(0)->trigger();
    ASSERT_EQ(desktopServices.openedUrls().size(), 1);
    EXPECT_EQ(desktopServices.openedUrls().first(),
              QUrl(QString::fromLatin1(views::ContentView::kProductPage)));

    view->menu()->actions().at(3)->trigger();
    EXPECT_EQ(application.calls().last(), QStringLiteral("terminate"));
    EXPECT_EQ(view->menuButton()->menu(), view->menu()) << "the gear opens the menu";
}

TEST_F(ContentViewTest, ClearButtonEmptiesLockedEntriesToo) {
    install();
    dragMonitor->addItem(entry(1, /*locked*/ true));
    dragMonitor->addItem(entry(2));
    view->clearButton()->click();
    queue.drain();
    EXPECT_TRUE(dragMonitor->draggedItems().isEmpty());
    EXPECT_TRUE(view->isShowingDropRegion());
    EXPECT_FALSE(isPanelVisible());
}

TEST_F(ContentViewTest, ShelfShownOnRequestStaysUntilHiddenOrAnEntryIsDraggedOut) {
    install();
    ASSERT_FALSE(isPanelVisible());
    dragMonitor->showShelf();
    EXPECT_TRUE(isPanelVisible()) << "empty, no drag, no pointer, but asked for";
    dragMonitor->setIsCursorInside(true);
    dragMonitor->setIsCursorInside(false);
    EXPECT_TRUE(isPanelVisible()) << "the pointer passing by does not end it";
    dragMonitor->toggleShelf();
    EXPECT_FALSE(isPanelVisible());

    dragMonitor->addItem(entry(1));
    dragMonitor->showShelf();
    beginDragOut(tilesTopDown().front());
    EXPECT_FALSE(dragMonitor->isShelfRequested()) << "taking an entry out ends the request";
}

TEST_F(ContentViewTest, ShelfWithEntriesIsPutAwayOnRequestUntilTheNextDragOrRequest) {
    install();
    dragMonitor->addItem(entry(1));
    dragMonitor->toggleShelf();
    dragMonitor->setIsCursorInside(true); // left over its place
    dragMonitor->addItem(entry(2));       // a paste
    EXPECT_FALSE(isPanelVisible()) << "put away, pointer or no";
    dragMonitor->setIsDragging(true);
    dragMonitor->setIsDragging(false);
    EXPECT_TRUE(isPanelVisible()) << "the next drag brings it back, to stay";
    dragMonitor->toggleShelf();
    dragMonitor->toggleShelf();
    EXPECT_TRUE(isPanelVisible()) << "as a second click does";
    EXPECT_EQ(dragMonitor->draggedItems().size(), 2);
}

TEST_F(ContentViewTest, UndoShowsWhileARemovalOrClearingCanBeUndone) {
    install();
    dragMonitor->setIsCursorInside(true); // the pointer is on the buttons it clicks
    const BucketItem locked = entry(1, /*locked*/ true), other = entry(2);
    dragMonitor->addItem(locked);
    dragMonitor->addItem(other);
    const QList<BucketItem> before = dragMonitor->draggedItems();
    EXPECT_FALSE(view->undoButton()->isVisible()) << "nothing to undo yet";
    EXPECT_FALSE(view->undoStrip()->isVisible());

    view->clearButton()->click();
    queue.drain();
    ASSERT_TRUE(view->isShowingDropRegion());
    ASSERT_TRUE(view->undoStrip()->isVisible()) << "the emptied shelf offers its undo";
    auto* stripUndo = view->undoStrip()->findChild<QToolButton*>();
    ASSERT_NE(stripUndo, nullptr);
    EXPECT_EQ(stripUndo->text(), QStringLiteral("Undo"));
    EXPECT_TRUE(stripUndo->isVisible());
    EXPECT_EQ(view->undoStrip()->height(), stripUndo->height()) << "laid out below the region";
    dragMonitor->setIsDragging(true);
    EXPECT_FALSE(view->undoStrip()->isVisible()) << "not in the way of a drop";
    dragMonitor->setIsDragging(false);
    stripUndo->click();
    EXPECT_EQ(dragMonitor->draggedItems(), before) << "every entry back, the locked one too";
    EXPECT_FALSE(view->undoStrip()->isVisible());

    // The tile's remove control is undoable from the bar; a drag-out's removal is not.
    for (auto* control :
         tilesTopDown().front()->controlsColumn()->findChildren<views::SymbolButton*>()) {
        if (control->symbolName() == QStringLiteral("xmark"))
            control->click();
    }
    ASSERT_EQ(dragMonitor->draggedItems().size(), 1);
    ASSERT_TRUE(view->undoButton()->isVisible());
    view->undoButton()->click();
    EXPECT_EQ(dragMonitor->draggedItems(), before);
    queue.advance(panel::ShelfHistory::kUndoWindow);
    EXPECT_FALSE(view->undoButton()->isVisible()) << "gone once it can no longer undo";
}

TEST_F(ContentViewTest, ColoursFollowTheSchemeLive) {
    colorSchemes.setAppearance(desktop::Appearance::Light);
    install();
    dragMonitor->addItem(entry(1));
    EXPECT_EQ(view->backgroundColor(), QColor(Qt::white));
    EXPECT_EQ(view->barSymbolColor(), QColor(95, 95, 95));

    colorSchemes.setAppearance(desktop::Appearance::Dark);
    EXPECT_EQ(view->colorScheme(), ColorScheme::Dark);
    EXPECT_EQ(view->barSymbolColor(), QColor(222, 222, 222));
    EXPECT_EQ(view->backgroundColor(), view->palette().color(QPalette::Window));
    EXPECT_NE(view->backgroundColor(), QColor(Qt::white));
    EXPECT_EQ(tilesTopDown().first()->colorScheme(), ColorScheme::Dark);

    // The bar's trash symbol is drawn in the bar colour.
    const QImage trash = view->clearButton()->icon().pixmap(14, 14).toImage();
    bool hasBarColour = false;
    for (int y = 0; y < trash.height() && !hasBarColour; ++y)
        for (int x = 0; x < trash.width() && !hasBarColour; ++x)
            hasBarColour = trash.pixelColor(x, y).alpha() == 255 &&
                           trash.pixelColor(x, y).rgb() == QColor(222, 222, 222).rgb();
    EXPECT_TRUE(hasBarColour);
}

TEST_F(ContentViewTest, BarButtonsGoWithTheirFaceAndItsIconsAreShared) {
    colorSchemes.setAppearance(desktop::Appearance::Light);
    install();
    dragMonitor->addItem(entry(1));
    const qint64 menuIcon = view->menuButton()->icon().cacheKey();
    const qint64 clearIcon = view->clearButton()->icon().cacheKey();

    dragMonitor->clearItems();
    queue.drain();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(view->isShowingDropRegion());
    EXPECT_EQ(view->menuButton(), nullptr);
    EXPECT_EQ(view->clearButton(), nullptr);
    // Repaints the bar, which must not reach the buttons of the list face just taken down.
    colorSchemes.setAppearance(desktop::Appearance::Dark);
    colorSchemes.setAppearance(desktop::Appearance::Light);

    // Qt caches renderings per icon: a new list face shows the very same icons.
    dragMonitor->addItem(entry(1));
    ASSERT_NE(view->clearButton(), nullptr);
    EXPECT_EQ(view->menuButton()->icon().cacheKey(), menuIcon);
    EXPECT_EQ(view->clearButton()->icon().cacheKey(), clearIcon);
}

// On X11 the button goes up (ending the drag state) before the drop reaches the region.
TEST_F(ContentViewTest, DropRegionStaysWhileADragIsOverItAfterTheButtonWentUp) {
    install();
    for (bool emptyShelf : {true, false}) {
        dragMonitor->setDraggedItems(emptyShelf ? QList<BucketItem>{}
                                                : QList<BucketItem>{entry(1)});
        dragMonitor->setIsDragging(true);
        views::DropRegionView* region = view->dropRegion();
        ASSERT_NE(region, nullptr);
        QMimeData data;
        data.setText(QStringLiteral("parked text"));
        QDragEnterEvent enter({80, 150}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(region, &enter);
        ASSERT_TRUE(region->isDragTargeted());

        dragMonitor->setIsDragging(false); // the global release arrives first
        QCoreApplication::processEvents();
        EXPECT_EQ(view->dropRegion(), region) << "emptyShelf " << emptyShelf;
        EXPECT_TRUE(isPanelVisible()) << "emptyShelf " << emptyShelf;

        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(region, &leave);
        QCoreApplication::processEvents();
        EXPECT_EQ(view->isShowingDropRegion(), emptyShelf);
        EXPECT_EQ(isPanelVisible(), !emptyShelf);
    }
}

TEST_F(ContentViewTest, PointerLeavingThePanelHiddenForADragOutDoesNotBringItBack) {
    install();
    dragMonitor->addItem(entry(1));
    dragMonitor->setIsCursorInside(true);
    beginDragOut(tilesTopDown().first());
    ASSERT_FALSE(isPanelVisible());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(view, &leave);
    EXPECT_FALSE(dragMonitor->isCursorInside());
    EXPECT_FALSE(isPanelVisible()) << "the shelf holds the dragged entry, yet it stays hidden";
    session.endLatest(Qt::IgnoreAction);
    EXPECT_TRUE(isPanelVisible());
}

// The panel never becomes the active window, where alone Qt shows tooltips by default.
TEST_F(ContentViewTest, TooltipsShowOnThePanelThatIsNeverActive) {
    install();
    const QString longName =
        QStringLiteral("Quarterly report for the board meeting, final version.pdf");
    dragMonitor->addItem(BucketItem(
        {BucketItemData(QStringLiteral("file:///home/demo/") + longName, UTType::pdf)}, false));
    QWidget other;
    other.show();
    other.activateWindow();
    QCoreApplication::processEvents();
    ASSERT_FALSE(windowManager->window()->isActiveWindow());

    views::BucketItemView* tile = tilesTopDown().value(0);
    ASSERT_NE(tile, nullptr);
    QToolTip::hideText();
    QTest::mouseMove(tile->draggableView()->dragSourceWidget(), QPoint(30, 30));
    EXPECT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }, 3000));
    EXPECT_EQ(QToolTip::text(), longName);

    QToolTip::hideText();
    ASSERT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 3000));
    QTest::mouseMove(view->clearButton(), QPoint(5, 5));
    EXPECT_TRUE(QTest::qWaitFor(
        [] { return QToolTip::isVisible() && QToolTip::text() == "Clear the shelf"; }, 3000));
    QToolTip::hideText();
}

// A shelf shown on request is used by keyboard alone; one a drag brought up never takes the
// focus from the program the drag came from.
TEST_F(ContentViewTest, ShelfShownOnRequestTakesTheFocusAndAnswersItsKeys) {
    install();
    panel::NonActivatingPanel* panel = windowManager->window();
    dragMonitor->setIsDragging(true);
    EXPECT_TRUE(panel->windowHandle()->flags().testFlag(Qt::WindowDoesNotAcceptFocus));
    dragMonitor->setIsDragging(false);

    const QKeyCombination ctrlZ(Qt::ControlModifier, Qt::Key_Z);
    auto focusedRow = [this] { return view->entryList()->focusedRow(); };
    auto entries = [this] { return dragMonitor->draggedItems().size(); };
    auto hasMenu = [this] { return tilesTopDown().first()->contextMenu() != nullptr; };
    const struct {
        const char* what;
        QList<QKeyCombination> keys;
        std::function<bool()> happened;
    } cases[] = {
        {"Down moves to the next tile", {Qt::Key_Down}, [&] { return focusedRow() == 1; }},
        {"Tab too", {Qt::Key_Tab}, [&] { return focusedRow() == 1; }},
        {"Shift+Tab goes round to the trash",
         {Qt::SHIFT | Qt::Key_Backtab},
         [&] { return QApplication::focusWidget() == view->clearButton(); }},
        {"Return opens",
         {Qt::Key_Return},
         [&] { return desktopServices.openedUrls().size() == 1; }},
        {"Space locks",
         {Qt::Key_Space},
         [&] { return dragMonitor->draggedItems().first().isLocked; }},
        {"Delete removes", {Qt::Key_Delete}, [&] { return entries() == 1; }},
        {"Ctrl+Z undoes", {Qt::Key_Delete, ctrlZ}, [&] { return entries() == 2; }},
        {"Ctrl+C copies",
         {Qt::CTRL | Qt::Key_C},
         [&] { return QGuiApplication::clipboard()->mimeData()->hasUrls(); }},
        {"Menu opens the menu", {Qt::Key_Menu}, hasMenu},
        {"Shift+F10 too", {Qt::SHIFT | Qt::Key_F10}, hasMenu},
        {"Ctrl+V parks the clipboard", {Qt::CTRL | Qt::Key_V}, [&] { return entries() == 3; }},
        {"Escape hides the shelf and lets the focus go",
         {Qt::Key_Escape},
         [&] { return !dragMonitor->isShelfRequested() && !panel->isTakingFocus(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        dragMonitor->hideShelf();
        dragMonitor->setDraggedItems({entry(1), entry(2)});
        QGuiApplication::clipboard()->setText(QStringLiteral("parked"));
        dragMonitor->showShelf();
        ASSERT_TRUE(QTest::qWaitForWindowActive(panel));
        ASSERT_EQ(focusedRow(), 0) << "the first tile has the focus";
        for (QKeyCombination key : c.keys) {
            QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
            QCoreApplication::processEvents();
        }
        EXPECT_TRUE(testing_support::waitUntil(c.happened, [this] { queue.drain(); }));
        if (QMenu* menu = tilesTopDown().first()->contextMenu())
            menu->close();
    }
}
