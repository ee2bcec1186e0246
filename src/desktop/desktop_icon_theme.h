#pragma once

#include <QString>
#include <QStringList>

namespace desktop {

class GtkSettings;

// Qt 6.4 picks an icon theme only on desktops that name themselves (XDG_CURRENT_DESKTOP); on
// a plain X session it is left with "hicolor", which has no file icons. These functions pick
// the theme the desktop names, or a common one that is installed.

// Widespread freedesktop icon themes, in the order they are tried as a last resort.
const QStringList& commonIconThemes();

// Whether `name` is an installed icon theme: a folder with an index.theme under one of
// `searchPaths`.
bool isIconThemeInstalled(const QString& name, const QStringList& searchPaths);

// The icon theme to use: `current` when it is a real theme (neither empty nor "hicolor");
// else the first installed of `desktopNames`, then of commonIconThemes(); else `current`.
QString chooseIconTheme(const QString& current, const QStringList& desktopNames,
                        const QStringList& searchPaths);

// Sets QIcon's theme to the one chooseIconTheme gives for Qt's current theme, the icon themes
// `settings` names and Qt's search paths. GUI thread, once the QGuiApplication exists.
void useDesktopIconTheme(const GtkSettings& settings);
// Sets QIcon's theme to the first installed icon theme `settings` names, for a change of the
// desktop's settings while Holdfin runs; nothing when it names none that is installed.
// Whether the theme changed. GUI thread.
bool followDesktopIconTheme(const GtkSettings& settings);

} // namespace desktop
