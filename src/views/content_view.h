#pragma once

#include "desktop/color_scheme.h"
#include "shelf/paste_intake.h"

#include <QIcon>
#include <QPointer>
#include <QWidget>

#include <functional>

class QMenu;
class QModelIndex;
class QToolButton;
class QVBoxLayout;

namespace backend {
class DragSession;
}

namespace core {
class DiagnosticLog;
class MainQueue;
} // namespace core

namespace desktop {
class Application;
class ColorSchemeService;
class SymbolImage;
class Thumbnails;
class DesktopServices;
} // namespace desktop

namespace panel {
class DragMonitor;
class WindowManager;
} // namespace panel

namespace shelf {
class MimeItemProviderFactory;
}

namespace settings_access {
class SettingsAccessEnvironment;
}

namespace views {

class DropRegionView;
class LazyListView;

// The shelf panel's root view: the drop region while the shelf is empty or a drag is under
// way, otherwise the entry list above a bar with the application menu and the clear button.
// It alone decides whether the panel is on screen, and reports the pointer over it to the
// drag monitor. A shelf the user asked to see takes the keyboard focus (one a drag brought up
// never does): Tab and the arrow keys move between the tiles and the bar's buttons, Ctrl+V
// parks the clipboard, Ctrl+Z undoes, Escape hides the shelf and gives the focus back. GUI
// thread only.
class ContentView final : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kProductPage = "https://holdfin.org/";

    // The main queue, log, drag session, desktopServices and symbols serve the drop region and the
    // tiles, the thumbnails the tiles; the desktop services also opens the product page, the
    // application takes the menu's commands, the colour schemes give the live scheme; `providers`
    // reads drops; `settings` opens the settings window. Everything must outlive the view.
    ContentView(panel::DragMonitor& dragMonitor, panel::WindowManager& windowManager,
                core::MainQueue& mainQueue, core::DiagnosticLog& log,
                backend::DragSession& dragSession, desktop::DesktopServices& desktopServices,
                desktop::Thumbnails& thumbnails, const desktop::SymbolImage& symbols,
                desktop::Application& application, desktop::ColorSchemeService& colorSchemes,
                shelf::MimeItemProviderFactory& providers,
                const settings_access::SettingsAccessEnvironment& settings,
                QWidget* parent = nullptr);
    ~ContentView() override;

    // Shows the panel while a drag is under way, the shelf holds entries, the pointer is over
    // it or the user asked to see it; hides it otherwise.
    void updatePanelVisibility();

    bool isShowingDropRegion() const { return m_dropRegion != nullptr; }
    DropRegionView* dropRegion() const { return m_dropRegion; }
    LazyListView* entryList() const { return m_entryList; }
    QMenu* menu() const { return m_menu; }
    QToolButton* menuButton() const { return m_menuButton; }
    QToolButton* clearButton() const { return m_clearButton; }
    // The "Undo" button of the list's bar; null while the drop region shows.
    QToolButton* undoButton() const { return m_undoButton; }
    // The strip under the drop region holding its own "Undo" button.
    QWidget* undoStrip() const { return m_undoStrip; }
    desktop::ColorScheme colorScheme() const { return m_colorScheme; }
    QColor backgroundColor() const;
    QColor barSymbolColor() const;

protected:
    bool focusNextPrevChild(bool next) override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void chooseFace(bool animated);
    void showDropRegion();
    void showListFace();
    void placeFace();
    QWidget* buildBottomBar();
    QMenu* buildMenu();
    QWidget* createTile(const QModelIndex& index);
    void setColorScheme(desktop::ColorScheme scheme);
    void paintBarSymbols();
    void springIn(QWidget* face);
    QToolButton* makeUndoButton(QWidget* parent);
    void updateUndoAffordances();
    void followShelfRequest();
    void focusFirst();
    QList<QWidget*> focusableButtons() const;

    panel::DragMonitor& m_dragMonitor;
    panel::WindowManager& m_windowManager;
    core::MainQueue& m_mainQueue;
    core::DiagnosticLog& m_log;
    backend::DragSession& m_dragSession;
    desktop::DesktopServices& m_desktopServices;
    desktop::Thumbnails& m_thumbnails;
    const desktop::SymbolImage& m_symbols;
    desktop::Application& m_application;
    shelf::MimeItemProviderFactory& m_providers;
    const settings_access::SettingsAccessEnvironment& m_settings;
    shelf::PasteIntake m_pasteIntake;
    desktop::ColorScheme m_colorScheme;
    // The monitor's flags as last handled: their handlers run on changes only.
    bool m_wasDragging;
    bool m_wasCursorInside;
    bool m_hasAppeared = false;
    bool m_isDraggingOut = false; // a drag out of one of the tiles is under way

    QVBoxLayout* m_layout;
    QPointer<QWidget> m_face;
    DropRegionView* m_dropRegion = nullptr;
    LazyListView* m_entryList = nullptr;
    QToolButton* m_menuButton = nullptr;
    QToolButton* m_clearButton = nullptr;
    QToolButton* m_undoButton = nullptr;
    QWidget* m_undoStrip = nullptr;
    QMenu* m_menu = nullptr;
    QIcon m_menuIcon;
    QSize m_menuIconSize;
    QIcon m_clearIcon;
    QColor m_barIconTint;
    qreal m_barIconRatio = 0;
};

} // namespace views
