#include "app/app_delegate.h"
#include "app/first_launch_notice.h"
#include "app/holdfin_app.h"
#include "app/translations.h"
#include "backend/backend.h"
#include "backend/desktop_settings.h"
#include "core/diagnostic_log.h"
#include "core/hand_over.h"
#include "core/qt_main_queue.h"
#include "desktop/color_scheme_service.h"
#include "desktop/combined_color_scheme.h"
#include "desktop/desktop_icon_theme.h"
#include "desktop/desktop_notifications.h"
#include "desktop/desktop_workspace.h"
#include "desktop/gtk_color_scheme.h"
#include "desktop/gtk_settings.h"
#include "desktop/portal_color_scheme.h"
#include "desktop/qt_application.h"
#include "desktop/single_instance.h"
#include "desktop/symbol_image.h"
#include "desktop/termination_signal_watcher.h"
#include "desktop/thumbnail_loader.h"
#include "desktop/user_defaults.h"
#include "panel/shelf_keeper.h"
#include "panel/shelf_shortcut.h"
#include "preferences/launch_at_login.h"
#include "preferences/settings_access/open_settings_injection_view.h"
#include "shelf/mime_item_provider_factory.h"
#include "shelf/paste_intake.h"
#include "shelf/shelf_store.h"
#include "views/content_view.h"

#include <QApplication>
#include <QLocale>
#include <QPointer>
#include <QThreadPool>

#include <cstdio>

int main(int argc, char* argv[]) {
    if (auto why = backend::prepareDisplay()) {
        std::fprintf(stderr, "holdfin: %s\n", why->toLocal8Bit().constData());
        return 1;
    }

    QApplication app(argc, argv);
    app::installTranslations(app, QLocale::system());
    QApplication::setApplicationName(QStringLiteral("holdfin"));
    QApplication::setApplicationDisplayName(QStringLiteral("Holdfin"));
    QApplication::setApplicationVersion(QStringLiteral(HOLDFIN_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);

    // One Holdfin per session: a later launch hands its request to the first one and ends.
    desktop::SingleInstance instance;
    if (!instance.claimOrHandOver(QApplication::arguments()))
        return 0;

    core::QtMainQueue mainQueue;
    core::StdoutDiagnosticLog log;
    const std::unique_ptr<backend::Backend> display = backend::createBackend();
    if (!display) {
        std::fprintf(stderr, "holdfin: no back-end for the Qt platform %s\n",
                     qUtf8Printable(QGuiApplication::platformName()));
        return 1;
    }
    desktop::UserDefaults userDefaults;
    // A plain X session (no XDG_CURRENT_DESKTOP) leaves Qt without an icon theme and a colour
    // scheme: the GTK desktop's settings name them.
    const desktop::GtkSettings gtkSettings(display->desktopSettings().values(),
                                           desktop::GtkSettings::defaultConfigHome());
    desktop::useDesktopIconTheme(gtkSettings);
    desktop::PortalColorScheme portalColorScheme;
    desktop::GtkColorScheme gtkColorScheme(gtkSettings);
    desktop::CombinedColorScheme desktopColorScheme({&portalColorScheme, &gtkColorScheme});
    desktop::ColorSchemeService colorSchemes(&desktopColorScheme);
    desktop::QtApplication application(colorSchemes, &display->windowSystem());
    // A termination signal quits like the Quit command, so the shelf is torn down in order.
    desktop::TerminationSignalWatcher terminationSignals;
    QObject::connect(&terminationSignals, &desktop::TerminationSignalWatcher::terminationRequested,
                     &terminationSignals, [&application] { application.terminate(); });
    desktop::DesktopWorkspace workspace;
    const desktop::SymbolImage symbols;

    const QString imageCache = shelf::MimeItemProviderFactory::defaultImageCacheDirectory();
    // Images cached for an earlier run are dead weight: a kept shelf has copies of its own.
    shelf::MimeItemProviderFactory::clearImageCache(imageCache);
    // Declared after the queue and log its drops report to, so it is gone (and its drops
    // finished) before they are.
    shelf::MimeItemProviderFactory providers(imageCache);
    // Dropped image bytes get pictures too, but theirs stay out of the shared cache.
    desktop::ThumbnailLoader thumbnails(
        desktop::ThumbnailCache(desktop::ThumbnailCache::defaultRoot()), mainQueue, {imageCache});

    app::AppDelegate delegate(application, userDefaults, mainQueue, display->dragPasteboard(),
                              display->eventMonitor(), display->screens(),
                              &display->windowSystem());
    // The last session's shelf is back before the panel first decides whether to show.
    shelf::ShelfStore shelfStore(shelf::ShelfStore::defaultDirectory(), imageCache);
    // One write at a time, off the GUI thread: a large shelf takes a while to write.
    QThreadPool shelfWrites;
    shelfWrites.setMaxThreadCount(1);
    panel::ShelfKeeper shelfKeeper(delegate.dragMonitor(), shelfStore, userDefaults, mainQueue,
                                   [&shelfWrites](std::function<void()> write) {
                                       core::startOnPool(shelfWrites, std::move(write));
                                   });
    shelfKeeper.restore();
    panel::DragMonitor& dragMonitor = delegate.dragMonitor();
    QPointer<panel::DragMonitor> shelfOwner(&dragMonitor);
    shelf::PasteIntake pasteIntake(mainQueue, log, providers,
                                   [shelfOwner](const shelf::BucketItem& item) {
                                       if (shelfOwner)
                                           shelfOwner->addItem(item);
                                   });
    auto paste = [&pasteIntake] { pasteIntake.pasteClipboard(); };
    panel::ShelfShortcut shelfShortcut(display->globalShortcuts(), userDefaults, dragMonitor);
    app::HoldfinApp::Options options;
    options.showShelf = [&dragMonitor] { dragMonitor.showShelf(); };
    options.toggleShelf = [&dragMonitor] { dragMonitor.toggleShelf(); };
    options.pasteToShelf = paste;
    options.version = QApplication::applicationVersion();
    options.delegateHooks = {[] { return app::AppDelegate::shared() != nullptr; },
                             [] {
                                 if (auto* shared = app::AppDelegate::shared())
                                     shared->applyAppearance();
                             },
                             [](bool isEnabled) {
                                 if (auto* shared = app::AppDelegate::shared())
                                     shared->updateLaunchAtLogin(isEnabled);
                             }};
    app::HoldfinApp holdfin(userDefaults, application, mainQueue, std::move(options));

    preferences::XdgAutostartLoginItem loginItem(QStringLiteral(HOLDFIN_APP_ID));
    delegate.setLaunchAtLoginHandler(
        [&loginItem](bool isEnabled) { preferences::updateLaunchAtLogin(loginItem, isEnabled); });
    delegate.setContentFactory([&](app::AppDelegate& self) -> QWidget* {
        auto* content =
            new views::ContentView(self.dragMonitor(), self.windowManager(), mainQueue, log,
                                   display->dragSession(), workspace, thumbnails, symbols,
                                   application, colorSchemes, providers, holdfin.settingsAccess());
        return new settings_access::OpenSettingsInjectionView(holdfin.settingsAccess(), content);
    });
    // Later launches ask for the shelf or the preferences.
    QObject::connect(&instance, &desktop::SingleInstance::preferencesRequested, &holdfin,
                     &app::HoldfinApp::showSettingsWindow);
    QObject::connect(&instance, &desktop::SingleInstance::activationRequested, &delegate,
                     [&dragMonitor] { dragMonitor.showShelf(); });
    desktop::DesktopNotifications notifications(QStringLiteral(HOLDFIN_APP_ID));
    app::showFirstLaunchNotice(userDefaults, notifications);
    // Launching has finished once the event loop runs.
    QMetaObject::invokeMethod(&delegate, &app::AppDelegate::applicationDidFinishLaunching,
                              Qt::QueuedConnection);
    // A first launch with --preferences opens them once start-up is over.
    QMetaObject::invokeMethod(&instance, &desktop::SingleInstance::deliverLaunchRequest,
                              Qt::QueuedConnection);
    const int status = QApplication::exec();
    shelfKeeper.saveNow();
    // Drags still being prepared log through `log`: let them finish while it exists.
    QThreadPool::globalInstance()->waitForDone();
    return status;
}
