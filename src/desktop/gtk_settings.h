#pragma once

#include <QByteArrayView>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <vector>

namespace desktop {

// What a GTK-based desktop tells applications about its look: each setting as the desktop
// publishes it (XSettings), else as GTK's own settings.ini files have it
// ($XDG_CONFIG_HOME/gtk-3.0, then gtk-4.0). A value, read once; GUI thread not needed.
class GtkSettings final {
public:
    // `published` holds the desktop's settings by their XSettings names; `configHome` is
    // where the gtk-3.0 and gtk-4.0 folders are looked for (empty: nowhere).
    GtkSettings(QVariantMap published, const QString& configHome);

    // $XDG_CONFIG_HOME, or ~/.config.
    static QString defaultConfigHome();

    // Every icon theme the desktop names, most authoritative first, without repeats.
    QStringList iconThemeNames() const;
    // The GTK theme's name; empty when none is named.
    QString themeName() const;
    // Whether applications are asked for the dark variant of the theme.
    bool prefersDarkTheme() const;
    // A dark theme ("Adwaita-dark", any case) or the dark variant asked for.
    bool isDark() const;

    // The [Settings] group of a settings.ini text: key to value, blanks trimmed, one pair of
    // surrounding double quotes dropped. Lines that are no "key = value" are skipped.
    static QMap<QString, QString> parseSettingsIni(QByteArrayView text);

private:
    // The values given for one setting: the published one first, then each settings.ini's.
    QStringList candidates(const QString& publishedName, const QString& iniKey) const;

    QVariantMap m_published;
    std::vector<QMap<QString, QString>> m_files;
};

} // namespace desktop
