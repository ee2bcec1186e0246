#include "desktop/desktop_workspace.h"

#include "desktop/symbol_image.h"

#include <QDesktopServices>

namespace desktop {

QIcon DesktopWorkspace::iconForFile(const QString& path) const {
    // The type comes from the name alone: no file is read, and paths that do not exist get
    // the icon their name suggests.
    const bool isFolder = path.endsWith(QLatin1Char('/'));
    const QMimeType type =
        isFolder ? m_mimeDatabase.mimeTypeForName(QStringLiteral("inode/directory"))
                 : m_mimeDatabase.mimeTypeForFile(path, QMimeDatabase::MatchExtension);
    const QStringList candidates = {type.iconName(), type.genericIconName(),
                                    isFolder ? QStringLiteral("folder")
                                             : QStringLiteral("text-x-generic")};
    for (const QString& name : candidates) {
        if (!name.isEmpty() && QIcon::hasThemeIcon(name))
            return QIcon::fromTheme(name);
    }
    // Kept, not made anew: the pixmaps an icon renders are cached under that very icon.
    QIcon& fallback = isFolder ? m_folderIcon : m_documentIcon;
    if (fallback.isNull())
        fallback = desktop::SymbolImage::bundled(isFolder ? QStringLiteral("folder.fill")
                                                          : QStringLiteral("doc.fill"));
    return fallback;
}

bool DesktopWorkspace::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

} // namespace desktop
