#pragma once

#include "preferences/app_delegate_hooks.h"
#include "preferences/settings_access/settings_access_environment.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

class QAction;
class QMenu;

namespace desktop {
class Application;
class Settings;
} // namespace desktop

namespace app {

class TrayItem;

// The application's scenes: the settings window, showing the preferences, and the tray item
// with its menu. Owns the action that every "Preferences…" entry opens the settings window
// through. GUI thread.
class HoldfinApp final : public QObject {
    Q_OBJECT
public:
    struct Options {
        // The application version; empty shows "?".
        QString version;
        preferences::AppDelegateHooks delegateHooks;
        // Shows the shelf: "Show Shelf"; none: no such entry.
        std::function<void()> showShelf;
        // Puts the shelf away: "Hide Shelf", the entry while the shelf is in sight.
        std::function<void()> hideShelf;
        // Shows or hides the shelf: the tray icon's left click; none: the click opens the menu.
        std::function<void()> toggleShelf;
        // Makes a shelf entry of the clipboard: "Paste to Shelf"; none: no such entry.
        std::function<void()> pasteToShelf;
    };

    HoldfinApp(desktop::Settings& settings, desktop::Application& application, Options options,
               QObject* parent = nullptr);
    ~HoldfinApp() override;

    const settings_access::SettingsAccessEnvironment& settingsAccess() const {
        return *m_settingsAccess;
    }
    TrayItem& trayItem() const { return *m_trayItem; }
    // Null until the settings window was first asked for.
    QWidget* settingsWindow() const { return m_settingsWindow; }
    // The tray menu's first line.
    static QString versionLine(const QString& version);

public slots:
    // Creates the settings window on first use, shows it and brings it to the front.
    void showSettingsWindow();
    // Whether the shelf is in sight: the tray entry offers to hide it then, else to show it.
    void setShelfShown(bool isShown);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<QMenu> buildMenu();
    void createSettingsWindow();

    desktop::Settings& m_settings;
    desktop::Application& m_application;
    Options m_options;
    std::unique_ptr<settings_access::SettingsAccessEnvironment> m_settingsAccess;
    std::unique_ptr<TrayItem> m_trayItem;
    QPointer<QWidget> m_settingsWindow;
    QAction* m_shelfAction = nullptr;
    bool m_isShelfShown = false;
};

} // namespace app
