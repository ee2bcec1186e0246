#pragma once

#include "core/services.h"
#include "desktop/color_scheme.h"

#include <QIcon>
#include <QPointer>
#include <QWidget>

#include <functional>

class QMenu;
class QToolButton;
class QVBoxLayout;

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
// drag monitor. GUI thread only.
class ContentView final : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kProductPage = "https://holdfin.org/";

    // Needs the main queue, log, drag session, workspace, symbols, application and colour
    // schemes of `services`; `providers` reads drops; `settings` opens the settings window.
    ContentView(panel::DragMonitor& dragMonitor, panel::WindowManager& windowManager,
                const core::Services& services, shelf::MimeItemProviderFactory& providers,
                const settings_access::SettingsAccessEnvironment& settings,
                QWidget* parent = nullptr);
    ~ContentView() override;

    // Shows the panel while a drag is under way, the shelf holds entries or the pointer is
    // over it; hides it otherwise.
    void updatePanelVisibility();

    bool isShowingDropRegion() const { return m_dropRegion != nullptr; }
    DropRegionView* dropRegion() const { return m_dropRegion; }
    LazyListView* entryList() const { return m_entryList; }
    QMenu* menu() const { return m_menu; }
    QToolButton* menuButton() const { return m_menuButton; }
    QToolButton* clearButton() const { return m_clearButton; }
    desktop::ColorScheme colorScheme() const { return m_colorScheme; }
    QColor backgroundColor() const;
    QColor barSymbolColor() const;

protected:
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
    QWidget* createTile(int row);
    void setColorScheme(desktop::ColorScheme scheme);
    void paintBarSymbols();
    void springIn(QWidget* face);

    panel::DragMonitor& m_dragMonitor;
    panel::WindowManager& m_windowManager;
    core::Services m_services;
    shelf::MimeItemProviderFactory& m_providers;
    const settings_access::SettingsAccessEnvironment& m_settings;
    desktop::ColorScheme m_colorScheme = desktop::ColorScheme::Light;
    bool m_hasAppeared = false;
    bool m_isDraggingOut = false; // a drag out of one of the tiles is under way

    QVBoxLayout* m_layout;
    QPointer<QWidget> m_face;
    DropRegionView* m_dropRegion = nullptr;
    LazyListView* m_entryList = nullptr;
    QToolButton* m_menuButton = nullptr;
    QToolButton* m_clearButton = nullptr;
    QMenu* m_menu = nullptr;
    QIcon m_menuIcon;
    QSize m_menuIconSize;
    QIcon m_clearIcon;
    QColor m_barIconTint;
    qreal m_barIconRatio = 0;
};

} // namespace views
