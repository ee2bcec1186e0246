#include "desktop/desktop_icon_theme.h"

#include "desktop/gtk_settings.h"

#include <QDir>
#include <QFileInfo>
#include <QIcon>

namespace desktop {

const QStringList& commonIconThemes() {
    static const QStringList themes = {
        QStringLiteral("Adwaita"),    QStringLiteral("breeze"),          QStringLiteral("Papirus"),
        QStringLiteral("elementary"), QStringLiteral("elementary-xfce"), QStringLiteral("Yaru"),
        QStringLiteral("oxygen"),     QStringLiteral("gnome"),           QStringLiteral("Tango")};
    return themes;
}

bool isIconThemeInstalled(const QString& name, const QStringList& searchPaths) {
    // A name is a folder name, never a path.
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name == QLatin1String(".") ||
        name == QLatin1String(".."))
        return false;
    for (const QString& path : searchPaths) {
        if (QFileInfo(QDir(path).filePath(name + QLatin1String("/index.theme"))).isFile())
            return true;
    }
    return false;
}

QString chooseIconTheme(const QString& current, const QStringList& desktopNames,
                        const QStringList& searchPaths) {
    if (!current.isEmpty() && current != QLatin1String("hicolor"))
        return current;
    for (const QStringList* names : {&desktopNames, &commonIconThemes()}) {
        for (const QString& name : *names) {
            if (isIconThemeInstalled(name, searchPaths))
                return name;
        }
    }
    return current;
}

void useDesktopIconTheme(const GtkSettings& settings) {
    const QString current = QIcon::themeName();
    const QString chosen =
        chooseIconTheme(current, settings.iconThemeNames(), QIcon::themeSearchPaths());
    if (chosen != current)
        QIcon::setThemeName(chosen);
}

bool followDesktopIconTheme(const GtkSettings& settings) {
    for (const QString& name : settings.iconThemeNames()) {
        if (!isIconThemeInstalled(name, QIcon::themeSearchPaths()))
            continue;
        if (name == QIcon::themeName())
            return false;
        QIcon::setThemeName(name);
        return true;
    }
    return false;
}

} // namespace desktop
