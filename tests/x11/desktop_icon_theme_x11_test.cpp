// A plain X session (no XDG_CURRENT_DESKTOP) whose settings manager (xsettingsd) names an
// installed icon theme: Holdfin reads the name from XSettings and files get that theme's icons
// instead of the generic page.
#include "backend/x11/x11_connection.h"
#include "backend/x11/x11_desktop_settings.h"
#include "desktop/desktop_icon_theme.h"
#include "desktop/freedesktop_services.h"
#include "desktop/gtk_settings.h"
#include "support/x11/child_process.h"
#include "x11_tools.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <signal.h>
#include <stdlib.h>

using namespace std::chrono_literals;
using testing_support::x11::ChildProcess;

namespace {

// A plain session: no desktop names itself, so Qt picks no icon theme of its own. Set before
// main() creates the QApplication.
const bool isPlainSession = [] {
    unsetenv("XDG_CURRENT_DESKTOP");
    unsetenv("DESKTOP_SESSION");
    return true;
}();

const QString kTheme = QStringLiteral("HoldfinTestTheme");
const QColor kThemeColor(0xff, 0x00, 0xff);

// An icon theme whose only icon, text-x-generic, is a magenta square.
bool installTestTheme(const QString& iconsFolder) {
    const QDir theme(QDir(iconsFolder).filePath(kTheme));
    QFile index(theme.filePath(QStringLiteral("index.theme")));
    if (!theme.mkpath(QStringLiteral("48x48/mimetypes")) || !index.open(QIODevice::WriteOnly))
        return false;
    index.write("[Icon Theme]\nName=Holdfin test\nDirectories=48x48/mimetypes\n\n"
                "[48x48/mimetypes]\nSize=48\nType=Threshold\n");
    index.close();
    QImage square(48, 48, QImage::Format_ARGB32);
    square.fill(kThemeColor);
    return square.save(theme.filePath(QStringLiteral("48x48/mimetypes/text-x-generic.png")));
}

TEST(DesktopIconThemeX11Test, aFileGetsTheIconOfTheThemeXSettingsNames) {
    ASSERT_TRUE(isPlainSession);
    ASSERT_TRUE(QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
        << "Qt found a theme of its own: " << qPrintable(QIcon::themeName());
    QTemporaryDir icons;
    ASSERT_TRUE(installTestTheme(icons.path()));
    QIcon::setThemeSearchPaths(QIcon::themeSearchPaths() << icons.path());
    QTemporaryDir configs;
    const QString config = configs.filePath(QStringLiteral("xsettingsd.conf"));
    QFile file(config);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Net/IconThemeName \"Adwaita\"\nNet/ThemeName \"Adwaita-dark\"\n");
    file.close();
    ChildProcess::Options quiet;
    quiet.captureStdout = false;
    auto manager = ChildProcess::start("xsettingsd", {"-c", config.toStdString()}, quiet);
    if (!manager)
        GTEST_SKIP() << "xsettingsd is not installed";

    backend::x11::X11Connection connection;
    backend::x11::X11DesktopSettings published{connection};
    ASSERT_TRUE(
        x11_tools::waitFor([&] { return published.values().contains("Net/IconThemeName"); }, 10s))
        << "the settings manager's property is read";
    EXPECT_EQ(published.values().value("Net/ThemeName"), QVariant(QString("Adwaita-dark")));

    const desktop::GtkSettings settings(published.values(), configs.path());
    EXPECT_TRUE(settings.isDark());
    desktop::useDesktopIconTheme(settings);
    EXPECT_EQ(QIcon::themeName(), QStringLiteral("Adwaita"));
    const desktop::FreedesktopServices desktopServices;
    const QIcon icon = desktopServices.fileIcon(QStringLiteral("/nowhere/notes.txt"));
    EXPECT_EQ(icon.name(), QStringLiteral("text-x-generic"));

    // Another icon theme chosen on the desktop while the icon is shown.
    QSignalSpy changed(&published, &backend::DesktopSettings::valuesChanged);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Net/IconThemeName \"HoldfinTestTheme\"\n");
    file.close();
    ::kill(manager->pid(), SIGHUP); // xsettingsd reads its file anew
    ASSERT_TRUE(changed.wait(5000));
    EXPECT_TRUE(desktop::followDesktopIconTheme(desktop::GtkSettings(published.values(), {})));
    EXPECT_EQ(QIcon::themeName(), kTheme);
    const QImage shown = icon.pixmap(32, 32).toImage();
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(shown.pixelColor(16, 16), kThemeColor) << "the theme's icon, not the generic page";
}

TEST(DesktopIconThemeX11Test, withoutASettingsManagerNothingIsPublished) {
    backend::x11::X11Connection connection;
    EXPECT_TRUE(backend::x11::X11DesktopSettings(connection).values().isEmpty());
}

} // namespace
