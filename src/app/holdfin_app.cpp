#include "holdfin_app.h"

#include "tray_item.h"

#include "desktop/application.h"
#include "preferences/preferences_view.h"
#include "preferences/settings_access/settings_button.h"

#include <QAction>
#include <QEvent>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenu>
#include <QShortcut>
#include <QVBoxLayout>
#include <QWidget>

namespace app {

HoldfinApp::HoldfinApp(desktop::Settings& settings, desktop::Application& application,
                       Options options, QObject* parent)
    : QObject(parent), m_settings(settings), m_application(application),
      m_options(std::move(options)) {
    m_settingsAccess = std::make_unique<settings_access::SettingsAccessEnvironment>(
        [this] { showSettingsWindow(); });

    m_trayItem = std::make_unique<TrayItem>(
        m_settings, [] { return trayIcon(); }, tr("Holdfin"), buildMenu());
    if (m_options.toggleShelf)
        m_trayItem->setClickHandler(m_options.toggleShelf);
}

HoldfinApp::~HoldfinApp() {
    delete m_settingsWindow.data();
}

QString HoldfinApp::versionLine(const QString& version) {
    return tr("Holdfin v%1").arg(version.isEmpty() ? QStringLiteral("?") : version);
}

std::unique_ptr<QMenu> HoldfinApp::buildMenu() {
    auto menu = std::make_unique<QMenu>();
    QAction* version = menu->addAction(versionLine(m_options.version));
    version->setEnabled(false);

    if (m_options.showShelf) {
        m_shelfAction = menu->addAction(tr("Show Shelf"));
        connect(m_shelfAction, &QAction::triggered, this, [this] {
            if (m_isShelfShown && m_options.hideShelf)
                m_options.hideShelf();
            else
                m_options.showShelf();
        });
    }
    if (m_options.pasteToShelf)
        connect(menu->addAction(tr("Paste to Shelf")), &QAction::triggered, this,
                [this] { m_options.pasteToShelf(); });

    auto activate = [this] { m_application.activate(); };
    QAction* preferences = settings_access::settingsButton(
        *m_settingsAccess, tr("Preferences\u2026"), activate, activate, menu.get());
    preferences->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    menu->addAction(preferences);

    menu->addSeparator();

    QAction* quit = menu->addAction(tr("Quit"));
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(quit, &QAction::triggered, this, [this] { m_application.terminate(); });
    return menu;
}

void HoldfinApp::setShelfShown(bool isShown) {
    m_isShelfShown = isShown;
    if (m_shelfAction)
        m_shelfAction->setText(isShown && m_options.hideShelf ? tr("Hide Shelf")
                                                              : tr("Show Shelf"));
}

void HoldfinApp::createSettingsWindow() {
    auto* window = new QWidget(nullptr, Qt::Window);
    window->setObjectName(QStringLiteral("settingsWindow"));
    window->setWindowTitle(tr("Holdfin"));
    window->setWindowIcon(appIcon());
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    // The window is exactly as large as its content: there is nothing to gain from resizing.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(new preferences::PreferencesView(m_settings, m_options.delegateHooks,
                                                       QStringLiteral("General"), window));
    for (const QKeySequence& keys :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)})
        connect(new QShortcut(keys, window), &QShortcut::activated, window, &QWidget::close);
    window->installEventFilter(this);
    m_settingsWindow = window;
}

void HoldfinApp::showSettingsWindow() {
    if (!m_settingsWindow)
        createSettingsWindow();
    m_settingsWindow->show();
    m_settingsWindow->raise();
    m_settingsWindow->activateWindow();
}

bool HoldfinApp::eventFilter(QObject* watched, QEvent* event) {
    // A late activation of a window already closed must not bring the taskbar entry back.
    if (watched == m_settingsWindow && event->type() == QEvent::WindowActivate &&
        m_settingsWindow->isVisible()) {
        m_application.activate();
        m_application.setListedInTaskbar(true);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace app
