#pragma once

#include <QIcon>
#include <QObject>
#include <QSizeF>
#include <QString>

#include <functional>
#include <memory>

class QMenu;
class QSystemTrayIcon;

namespace desktop {
class Settings;
}

namespace app {

// The size the tray shows an image of `imageSize` at: 24 high, aspect kept. An empty size
// gives a 24 by 24 square.
QSizeF menuBarIconSize(const QSizeF& imageSize);
// The "AppIcon" image (or the SVG at `path`) rendered at its tray size; a null icon when the
// SVG cannot be read. GUI thread.
QIcon menuBarIcon(const QString& path = {});
// The icon the package installs in the icon theme, named so that a StatusNotifierItem host can
// take it from its own theme; menuBarIcon() where the theme lacks it. GUI thread.
QIcon trayIcon();
// The "AppIcon" image at any size, for window icons. GUI thread.
QIcon appIcon();

// The tray item: present exactly while the showMenuBarIcon preference is on, following every
// write of the key at once. Its menu exists either way, so a desktop without a tray loses only
// the icon. A right click shows that menu (on XEmbed trays and StatusNotifierItem hosts
// alike); a left click runs the click handler. GUI thread.
class TrayItem final : public QObject {
    Q_OBJECT
public:
    // `makeIcon` is asked for the icon each time the item is inserted.
    TrayItem(desktop::Settings& settings, std::function<QIcon()> makeIcon, QString toolTip,
             std::unique_ptr<QMenu> menu, QObject* parent = nullptr);
    ~TrayItem() override;

    bool isPresent() const { return m_trayIcon != nullptr; }
    // The inserted tray icon; null while absent.
    QSystemTrayIcon* trayIcon() const { return m_trayIcon.get(); }
    QMenu* menu() const { return m_menu.get(); }
    // What a left click on the icon does; without a handler it opens the menu too.
    void setClickHandler(std::function<void()> handler) { m_onClick = std::move(handler); }

signals:
    void presenceChanged(bool isPresent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followPreference();

    desktop::Settings& m_settings;
    std::function<QIcon()> m_makeIcon;
    QString m_toolTip;
    std::unique_ptr<QMenu> m_menu;
    std::unique_ptr<QSystemTrayIcon> m_trayIcon;
    std::function<void()> m_onClick;
};

} // namespace app
