#pragma once

#include <QIcon>
#include <QList>
#include <QString>
#include <QUrl>

namespace desktop {

// The desktop's file icons and URL handlers. GUI thread only.
class DesktopServices {
public:
    virtual ~DesktopServices() = default;
    // The icon for the file at `path`, by the file's type as its name tells (the file need not
    // exist; a path ending in a slash is a folder). Never null: a generic icon when the icon
    // theme has none. Single-colour icons are marked as masks.
    virtual QIcon fileIcon(const QString& path) const = 0;
    // Opens `url` with the desktop's default handler; false when none could be started.
    virtual bool openUrl(const QUrl& url) = 0;
    // Shows the local files `urls` selected in the desktop's file manager or, when no file
    // manager takes the request, opens the folder of the first. False when there is nothing to
    // show or nothing could be asked; a refusal that comes later falls back by itself.
    virtual bool showInFileManager(const QList<QUrl>& urls) = 0;
};

} // namespace desktop
