// What a GTK desktop names: published settings before settings.ini files, the icon theme
// chosen from them, and the colour scheme they imply.
#include "desktop/combined_color_scheme.h"
#include "desktop/desktop_icon_theme.h"
#include "desktop/gtk_color_scheme.h"
#include "desktop/gtk_settings.h"
#include "support/fake_desktop_color_scheme.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

using desktop::ColorScheme;
using desktop::GtkSettings;

namespace {

void writeFile(const QString& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

TEST(GtkSettingsIni, readsTheSettingsGroupOnly) {
    const auto values = GtkSettings::parseSettingsIni("# comment\n"
                                                      "gtk-theme-name=Outside\n"
                                                      "[Settings]\n"
                                                      "  gtk-icon-theme-name =  Papirus-Dark  \n"
                                                      "gtk-theme-name=\"Arc-Dark\"\n"
                                                      "; another comment\n"
                                                      "no equals sign\n"
                                                      "=no key\n"
                                                      "gtk-font-name=Sans = 10\r\n"
                                                      "[Other]\n"
                                                      "gtk-cursor-theme-name=Other\n");
    EXPECT_EQ(values.value("gtk-icon-theme-name"), "Papirus-Dark");
    EXPECT_EQ(values.value("gtk-theme-name"), "Arc-Dark") << "surrounding quotes dropped";
    EXPECT_EQ(values.value("gtk-font-name"), "Sans = 10");
    EXPECT_FALSE(values.contains("gtk-cursor-theme-name"));
    EXPECT_EQ(values.size(), 3);
}

TEST(GtkSettingsIni, binaryGarbageGivesNoCrashAndNoSettingsOutsideTheGroup) {
    QByteArray garbage(4096, '\0');
    for (int i = 0; i < garbage.size(); ++i)
        garbage[i] = char((i * 131 + 7) % 256);
    EXPECT_TRUE(GtkSettings::parseSettingsIni(garbage).isEmpty());
}

class GtkSettingsTest : public testing::Test {
protected:
    void writeIni(const char* version, const QByteArray& settings) {
        writeFile(m_config.filePath(QString(version) + "/settings.ini"), "[Settings]\n" + settings);
    }
    GtkSettings settings(QVariantMap published = {}) const {
        return GtkSettings(std::move(published), m_config.path());
    }

    QTemporaryDir m_config;
};

TEST_F(GtkSettingsTest, iconThemesComePublishedFirstThenGtk3ThenGtk4) {
    writeIni("gtk-3.0", "gtk-icon-theme-name=FromGtk3\n");
    writeIni("gtk-4.0", "gtk-icon-theme-name=FromGtk4\n");
    EXPECT_EQ(settings({{"Net/IconThemeName", "Published"}}).iconThemeNames(),
              (QStringList{"Published", "FromGtk3", "FromGtk4"}));
    EXPECT_EQ(settings().iconThemeNames(), (QStringList{"FromGtk3", "FromGtk4"}));
    EXPECT_EQ(settings({{"Net/IconThemeName", "FromGtk3"}}).iconThemeNames(),
              (QStringList{"FromGtk3", "FromGtk4"}))
        << "no repeats";
}

TEST_F(GtkSettingsTest, withoutAnySourceNothingIsNamed) {
    EXPECT_TRUE(settings().iconThemeNames().isEmpty());
    EXPECT_EQ(settings().themeName(), QString());
    EXPECT_FALSE(settings().isDark());
    EXPECT_TRUE(GtkSettings({}, QString()).iconThemeNames().isEmpty());
}

TEST_F(GtkSettingsTest, darkness) {
    struct Case {
        const char* what;
        QVariantMap published;
        QByteArray ini;
        bool isDark;
    };
    const Case cases[] = {
        {"published dark theme", {{"Net/ThemeName", "Adwaita-dark"}}, "", true},
        {"any case", {{"Net/ThemeName", "Breeze-DARK"}}, "", true},
        {"dark only inside the name", {{"Net/ThemeName", "Darkling"}}, "", false},
        {"published light theme wins over the file",
         {{"Net/ThemeName", "Adwaita"}},
         "gtk-theme-name=Adwaita-dark\n",
         false},
        {"file's dark theme", {}, "gtk-theme-name=Arc-Dark\n", true},
        {"published dark preference", {{"Gtk/ApplicationPreferDarkTheme", 1}}, "", true},
        {"published preference off wins over the file",
         {{"Gtk/ApplicationPreferDarkTheme", 0}},
         "gtk-application-prefer-dark-theme=true\n",
         false},
        {"file's preference true", {}, "gtk-application-prefer-dark-theme=true\n", true},
        {"file's preference 1", {}, "gtk-application-prefer-dark-theme = 1\n", true},
        {"file's preference false", {}, "gtk-application-prefer-dark-theme=false\n", false},
        {"file's preference garbage", {}, "gtk-application-prefer-dark-theme=maybe\n", false},
    };
    for (const Case& c : cases) {
        writeIni("gtk-3.0", c.ini);
        const GtkSettings gtk = settings(c.published);
        EXPECT_EQ(gtk.isDark(), c.isDark) << c.what;
        EXPECT_EQ(desktop::GtkColorScheme(gtk).preference(),
                  c.isDark ? std::optional(ColorScheme::Dark) : std::nullopt)
            << c.what << ": a light theme leaves the choice to Qt's palette";
    }
}

// Icon themes installed in temporary search paths.
class IconThemeChoiceTest : public testing::Test {
protected:
    void install(int pathIndex, const QString& theme) {
        writeFile(m_paths[pathIndex].filePath(theme + "/index.theme"), "[Icon Theme]\nName=x\n");
    }
    QStringList searchPaths() const { return {m_paths[0].path(), m_paths[1].path()}; }

    QTemporaryDir m_paths[2];
};

TEST_F(IconThemeChoiceTest, aRealThemeQtFoundIsKept) {
    install(0, "Papirus");
    EXPECT_EQ(desktop::chooseIconTheme("breeze", {"Papirus"}, searchPaths()), "breeze");
}

TEST_F(IconThemeChoiceTest, withoutARealThemeTheFirstInstalledNamedOneIsTaken) {
    install(1, "Papirus");
    install(0, "Adwaita");
    for (const QString& current : {QString(), QString("hicolor")}) {
        EXPECT_EQ(
            desktop::chooseIconTheme(current, {"Missing", "Papirus", "Adwaita"}, searchPaths()),
            "Papirus")
            << qPrintable(current);
        EXPECT_EQ(desktop::chooseIconTheme(current, {"Missing"}, searchPaths()), "Adwaita")
            << "then the common themes";
    }
}

TEST_F(IconThemeChoiceTest, commonThemesAreTriedInTheirOrder) {
    install(0, "Tango");
    install(1, "breeze");
    EXPECT_EQ(desktop::chooseIconTheme("hicolor", {}, searchPaths()), "breeze");
}

TEST_F(IconThemeChoiceTest, nothingInstalledKeepsQtsTheme) {
    EXPECT_EQ(desktop::chooseIconTheme("hicolor", {"Papirus"}, searchPaths()), "hicolor");
    EXPECT_EQ(desktop::chooseIconTheme("", {}, {}), "");
}

TEST_F(IconThemeChoiceTest, aFolderWithoutIndexOrANameWithAPathIsNoTheme) {
    QDir(m_paths[0].path()).mkpath("Papirus");
    install(1, "Real");
    EXPECT_FALSE(desktop::isIconThemeInstalled("Papirus", searchPaths()));
    EXPECT_TRUE(desktop::isIconThemeInstalled("Real", searchPaths()));
    EXPECT_FALSE(desktop::isIconThemeInstalled(
        "../" + QFileInfo(m_paths[1].path()).fileName() + "/Real", {m_paths[0].path()}));
    EXPECT_FALSE(desktop::isIconThemeInstalled("", searchPaths()));
    EXPECT_EQ(desktop::chooseIconTheme("hicolor", {"..", "Papirus"}, searchPaths()), "hicolor");
}

TEST(CombinedColorScheme, takesTheFirstStatedPreferenceAndFollowsChanges) {
    testing_support::FakeDesktopColorScheme portal;
    testing_support::FakeDesktopColorScheme theme;
    theme.setPreference(ColorScheme::Dark);
    desktop::CombinedColorScheme combined({&portal, &theme});
    QSignalSpy changes(&combined, &desktop::DesktopColorScheme::preferenceChanged);
    EXPECT_EQ(combined.preference(), ColorScheme::Dark) << "the portal states nothing";

    portal.setPreference(ColorScheme::Light);
    EXPECT_EQ(combined.preference(), ColorScheme::Light);
    portal.setPreference(ColorScheme::Light);
    theme.setPreference(std::nullopt);
    EXPECT_EQ(changes.count(), 1) << "only changes of the outcome are signalled";

    portal.setPreference(std::nullopt);
    EXPECT_EQ(combined.preference(), std::nullopt);
    EXPECT_EQ(changes.count(), 2);
}

TEST(CombinedColorScheme, aDestroyedSourceStatesNothing) {
    auto portal = std::make_unique<testing_support::FakeDesktopColorScheme>();
    portal->setPreference(ColorScheme::Light);
    testing_support::FakeDesktopColorScheme theme;
    theme.setPreference(ColorScheme::Dark);
    desktop::CombinedColorScheme combined({portal.get(), nullptr, &theme});
    portal.reset();
    EXPECT_EQ(combined.preference(), ColorScheme::Dark);
}

} // namespace
