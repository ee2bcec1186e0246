#include "desktop/freedesktop_services.h"

#include "desktop/symbol_image.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

namespace desktop {

namespace {

const QString kFileManagerService = QStringLiteral("org.freedesktop.FileManager1");
const QString kFileManagerPath = QStringLiteral("/org/freedesktop/FileManager1");

// The folder that holds the file `url` names.
QUrl folderOf(const QUrl& url) {
    return QUrl::fromLocalFile(QFileInfo(url.toLocalFile()).absolutePath());
}

} // namespace

FreedesktopServices::FreedesktopServices(QDBusConnection bus) : m_bus(std::move(bus)) {}

QIcon FreedesktopServices::fileIcon(const QString& path) const {
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

bool FreedesktopServices::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

bool FreedesktopServices::showInFileManager(const QList<QUrl>& urls) {
    if (urls.isEmpty())
        return false;
    const QUrl folder = folderOf(urls.constFirst());
    if (!m_bus.isConnected())
        return openUrl(folder);
    QStringList uris;
    for (const QUrl& url : urls)
        uris << QString::fromLatin1(url.toEncoded());
    QDBusMessage call = QDBusMessage::createMethodCall(
        kFileManagerService, kFileManagerPath, kFileManagerService, QStringLiteral("ShowItems"));
    call << uris << QString();
    // Asked without waiting: a file manager started for the call may take seconds to answer.
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), &m_pendingCalls);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [folder](QDBusPendingCallWatcher* finished) {
                         if (finished->isError())
                             QDesktopServices::openUrl(folder);
                         finished->deleteLater();
                     });
    return true;
}

} // namespace desktop
