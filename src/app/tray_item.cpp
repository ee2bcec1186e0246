#include "tray_item.h"

#include "desktop/settings.h"
#include "desktop/settings_keys.h"

#include <QAction>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <QSystemTrayIcon>

#include <cmath>

static void initAppIconResource() {
    Q_INIT_RESOURCE(app_icon);
}

namespace app {

namespace {
constexpr qreal kIconHeight = 24.0;
}

QSizeF menuBarIconSize(const QSizeF& imageSize) {
    if (!(imageSize.width() > 0) || !(imageSize.height() > 0))
        return {kIconHeight, kIconHeight};
    const qreal ratio = imageSize.height() / imageSize.width();
    return {kIconHeight / ratio, kIconHeight};
}

QIcon menuBarIcon(const QString& path) {
    initAppIconResource();
    QSvgRenderer renderer(path.isEmpty() ? QStringLiteral(":/holdfin/app_icon.svg") : path);
    if (!renderer.isValid())
        return {};
    const QSizeF size = menuBarIconSize(renderer.defaultSize());
    const qreal scale = qApp ? qGuiApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(QSize(qRound(size.width() * scale), qRound(size.height() * scale)));
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(QPointF(0, 0), size));
    painter.end();
    return QIcon(pixmap);
}

QIcon trayIcon() {
    return QIcon::fromTheme(QStringLiteral(HOLDFIN_APP_ID), menuBarIcon());
}

QIcon appIcon() {
    initAppIconResource();
    return QIcon(QStringLiteral(":/holdfin/app_icon.svg"));
}

TrayItem::TrayItem(desktop::Settings& settings, std::function<QIcon()> makeIcon, QString toolTip,
                   std::unique_ptr<QMenu> menu, QObject* parent)
    : QObject(parent), m_settings(settings), m_makeIcon(std::move(makeIcon)),
      m_toolTip(std::move(toolTip)), m_menu(std::move(menu)) {
    m_menu->installEventFilter(this);
    connect(&m_settings, &desktop::Settings::valueChanged, this, [this](const QString& key) {
        if (key == desktop::settings_keys::showMenuBarIcon)
            followPreference();
    });
    followPreference();
}

TrayItem::~TrayItem() = default;

bool TrayItem::eventFilter(QObject* watched, QEvent* event) {
    // Qt matches the shortcuts of a stand-alone popup's entries only through a menu bar that
    // holds it, which a tray menu lacks: Ctrl+Q in the open menu would do nothing.
    const auto* key = event->type() == QEvent::KeyPress ? dynamic_cast<QKeyEvent*>(event) : nullptr;
    if (watched != m_menu.get() || !key)
        return QObject::eventFilter(watched, event);
    const QKeySequence pressed(key->keyCombination());
    for (QAction* action : m_menu->actions()) {
        if (action->isEnabled() && !action->shortcut().isEmpty() && action->shortcut() == pressed) {
            m_menu->hide();
            action->trigger();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void TrayItem::followPreference() {
    const bool isShown = m_settings.boolValue(desktop::settings_keys::showMenuBarIcon,
                                              desktop::settings_keys::showMenuBarIconFallback);
    if (isShown == isPresent())
        return;
    if (isShown) {
        m_trayIcon = std::make_unique<QSystemTrayIcon>(m_makeIcon ? m_makeIcon() : QIcon());
        m_trayIcon->setToolTip(m_toolTip);
        // The context menu is what a StatusNotifierItem host gets (over dbusmenu) and what an
        // XEmbed tray pops up on a right click: one menu for both.
        m_trayIcon->setContextMenu(m_menu.get());
        connect(m_trayIcon.get(), &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    if (reason != QSystemTrayIcon::Trigger)
                        return;
                    if (m_onClick)
                        m_onClick();
                    else
                        m_menu->popup(QCursor::pos());
                });
        m_trayIcon->show();
    } else {
        m_trayIcon.reset();
    }
    emit presenceChanged(isShown);
}

} // namespace app
