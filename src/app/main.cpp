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
#include "desktop/freedesktop_services.h"
#include "desktop/gtk_color_scheme.h"
#include "desktop/gtk_settings.h"
#include "desktop/portal_color_scheme.h"
#include "desktop/qt_application.h"
#include "desktop/settings.h"
#include "desktop/single_instance.h"
#include "desktop/symbol_image.h"
#include "desktop/termination_signal_watcher.h"
#include "desktop/thumbnail_loader.h"
#include "panel/non_activating_panel.h"
#include "panel/shelf_keeper.h"
#include "panel/shelf_shortcut.h"
#include "preferences/launch_at_login.h"
#include "scripting/command_line.h"
#include "scripting/shelf_client.h"
#include "scripting/shelf_service.h"
#include "shelf/mime_item_provider_factory.h"
#include "shelf/paste_intake.h"
#include "shelf/shelf_store.h"
#include "views/content_view.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QLocale>
#include <QLoggingCategory>
#include <QPointer>
#include <QThreadPool>

#include <cstdio>

namespace {

// Start-up failures, before anything else can report them.
Q_LOGGING_CATEGORY(lcHoldfin, "holdfin")

// A command of the command line: a client of the running Holdfin, without a window.
int runCommand(const scripting::Invocation& invocation) {
    scripting::ShelfClient client(QDBusConnection::sessionBus(),
                                  QCoreApplication::applicationFilePath());
    return client.run(invocation);
}

int runShelf(int& argc, char* argv[]) {
    if (auto why = backend::prepareDisplay()) {
        qCCritical(lcHoldfin, "%s", qUtf8Printable(*why));
        return 1;
    }

    QApplication app(argc, argv);
    app::installTranslations(app, QLocale::system());
    // Qt names the tray's StatusNotifierItem after the application name: its title on the panel.
    QApplication::setApplicationName(QStringLiteral("Holdfin"));
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
        qCCritical(lcHoldfin, "no back-end for the Qt platform %s",
                   qUtf8Printable(QGuiApplication::platformName()));
        return 1;
    }
    desktop::Settings settings;
    // A plain X session (no XDG_CURRENT_DESKTOP) leaves Qt without an icon theme and a colour
    // scheme: the GTK desktop's settings name them.
    const desktop::GtkSettings gtkSettings(display->desktopSettings().values(),
                                           desktop::GtkSettings::defaultConfigHome());
    desktop::useDesktopIconTheme(gtkSettings);
    desktop::PortalColorScheme portalColorScheme;
    desktop::GtkColorScheme gtkColorScheme(gtkSettings);
    // A dark theme or another icon theme chosen while Holdfin runs: redrawn, the icons of the
    // new theme read anew.
    QObject::connect(&display->desktopSettings(), &backend::DesktopSettings::valuesChanged,
                     &gtkColorScheme, [&display, &gtkColorScheme] {
                         const desktop::GtkSettings current(
                             display->desktopSettings().values(),
                             desktop::GtkSettings::defaultConfigHome());
                         gtkColorScheme.follow(current);
                         if (desktop::followDesktopIconTheme(current)) {
                             for (QWidget* window : QApplication::topLevelWidgets())
                                 window->update();
                         }
                     });
    desktop::CombinedColorScheme desktopColorScheme({&portalColorScheme, &gtkColorScheme});
    desktop::ColorSchemeService colorSchemes(&desktopColorScheme);
    desktop::QtApplication application(colorSchemes, &display->windowSystem());
    // A termination signal quits like the Quit command, so the shelf is torn down in order.
    desktop::TerminationSignalWatcher terminationSignals;
    QObject::connect(&terminationSignals, &desktop::TerminationSignalWatcher::terminationRequested,
                     &terminationSignals, [&application] { application.terminate(); });
    desktop::FreedesktopServices desktopServices;
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

    app::AppDelegate delegate(application, settings, mainQueue, display->dragSelection(),
                              display->eventMonitor(), display->screens(),
                              &display->windowSystem());
    // The last session's shelf is back before the panel first decides whether to show.
    shelf::ShelfStore shelfStore(shelf::ShelfStore::defaultDirectory(), imageCache);
    // One write at a time, off the GUI thread: a large shelf takes a while to write.
    QThreadPool shelfWrites;
    shelfWrites.setMaxThreadCount(1);
    panel::ShelfKeeper shelfKeeper(delegate.dragMonitor(), shelfStore, settings, mainQueue,
                                   [&shelfWrites](std::function<void()> write) {
                                       core::startOnPool(shelfWrites, std::move(write));
                                   });
    const QString damagedShelfNotice = shelfKeeper.restore();
    panel::DragMonitor& dragMonitor = delegate.dragMonitor();
    QPointer<panel::DragMonitor> shelfOwner(&dragMonitor);
    shelf::PasteIntake pasteIntake(mainQueue, log, providers,
                                   [shelfOwner](const shelf::BucketItem& item) {
                                       if (shelfOwner)
                                           shelfOwner->addItem(item);
                                   });
    auto paste = [&pasteIntake] { pasteIntake.pasteClipboard(); };
    panel::ShelfShortcut shelfShortcut(display->globalShortcuts(), settings, dragMonitor);
    preferences::XdgAutostart autostart(QStringLiteral(HOLDFIN_APP_ID));
    app::HoldfinApp::Options options;
    options.showShelf = [&dragMonitor] { dragMonitor.showShelf(); };
    options.toggleShelf = [&dragMonitor] { dragMonitor.toggleShelf(); };
    options.hideShelf = [&dragMonitor] { dragMonitor.hideShelf(); };
    // Pasted from the tray, the entry is to be seen, on a shelf put away or not.
    options.pasteToShelf = [paste, &dragMonitor] {
        if (dragMonitor.isShelfPutAway())
            dragMonitor.showShelf();
        paste();
    };
    options.version = QApplication::applicationVersion();
    options.delegateHooks = {[] { return app::AppDelegate::shared() != nullptr; },
                             [] {
                                 if (auto* shared = app::AppDelegate::shared())
                                     shared->applyAppearance();
                             },
                             [](bool isEnabled) {
                                 if (auto* shared = app::AppDelegate::shared())
                                     shared->updateLaunchAtLogin(isEnabled);
                             },
                             [&autostart] { return autostart.isEnabled(); }};
    app::HoldfinApp holdfin(settings, application, std::move(options));
    panel::NonActivatingPanel* panelWindow = delegate.windowManager().window();
    QObject::connect(panelWindow, &panel::NonActivatingPanel::presented, &holdfin,
                     [&holdfin] { holdfin.setShelfShown(true); });
    QObject::connect(panelWindow, &panel::NonActivatingPanel::dismissed, &holdfin,
                     [&holdfin] { holdfin.setShelfShown(false); });
    holdfin.setShelfShown(panelWindow->isPresented());

    delegate.setLaunchAtLoginHandler(
        [&autostart](bool isEnabled) { preferences::updateLaunchAtLogin(autostart, isEnabled); });
    delegate.setContentFactory([&](app::AppDelegate& self) -> QWidget* {
        return new views::ContentView(self.dragMonitor(), self.windowManager(), mainQueue, log,
                                      display->dragSession(), desktopServices, thumbnails, symbols,
                                      application, colorSchemes, providers,
                                      holdfin.settingsAccess());
    });
    // Later launches and the desktop (org.freedesktop.Application) ask for the shelf, the
    // preferences, a paste, an entry of URIs or the end.
    QObject::connect(&instance, &desktop::SingleInstance::preferencesRequested, &holdfin,
                     &app::HoldfinApp::showSettingsWindow);
    QObject::connect(&instance, &desktop::SingleInstance::activationRequested, &delegate,
                     [&dragMonitor] { dragMonitor.showShelf(); });
    QObject::connect(&instance, &desktop::SingleInstance::pasteRequested, &delegate, paste);
    QObject::connect(&instance, &desktop::SingleInstance::quitRequested, &delegate,
                     [&application] { application.terminate(); });
    // Scripts and the command line reach the shelf through org.holdfin.Shelf1.
    scripting::ShelfService shelfService(*instance.busObject(), QDBusConnection::sessionBus(),
                                         dragMonitor, providers, mainQueue, log);
    QObject::connect(&instance, &desktop::SingleInstance::openRequested, &shelfService,
                     [&shelfService](const QStringList& uris) {
                         shelfService.add(uris, /*isSplit*/ false, QDBusMessage());
                     });
    desktop::DesktopNotifications notifications(QStringLiteral(HOLDFIN_APP_ID));
    app::showFirstLaunchNotice(settings, notifications);
    if (!damagedShelfNotice.isEmpty())
        notifications.notify(QStringLiteral("Holdfin"), damagedShelfNotice);
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

} // namespace

int main(int argc, char* argv[]) {
    QList<QByteArray> arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QByteArray(argv[i]);
    if (scripting::parseCommandLine(arguments).action == scripting::Invocation::Action::Launch)
        return runShelf(argc, argv);
    // Everything else answers on the terminal, in the user's language.
    QCoreApplication app(argc, argv);
    app::installTranslations(app, QLocale::system());
    const scripting::Invocation invocation = scripting::parseCommandLine(arguments);
    switch (invocation.action) {
    case scripting::Invocation::Action::Help:
    case scripting::Invocation::Action::Version:
        std::fputs(qUtf8Printable(invocation.text), stdout);
        return 0;
    case scripting::Invocation::Action::UsageError:
        std::fputs(qUtf8Printable(invocation.text), stderr);
        return 2;
    case scripting::Invocation::Action::Command:
        return runCommand(invocation);
    case scripting::Invocation::Action::Launch:
        break;
    }
    return 1; // not reached: the first reading launched the shelf
}
