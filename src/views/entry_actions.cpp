#include "entry_actions.h"

#include "desktop/desktop_services.h"
#include "desktop/program_file.h"
#include "payload_files.h"
#include "payload_url.h"

namespace views {

using shelf::UTType;

namespace {

// The URL of a payload that names something to open: a file or a link.
std::optional<QUrl> urlOf(const shelf::BucketItemData& payload) {
    if (!isFileLike(payload.type) && !payload.type.conforms(UTType::url))
        return std::nullopt;
    return urlFromString(payload.content.trimmed());
}

} // namespace

QList<QUrl> openableUrls(const QList<shelf::BucketItemData>& payloads) {
    QList<QUrl> urls;
    for (const shelf::BucketItemData& payload : payloads) {
        if (urls.size() == kMaxOpened)
            break;
        const std::optional<QUrl> url = urlOf(payload);
        if (url && !(url->isLocalFile() && isMissing(payload)))
            urls << *url;
    }
    return urls;
}

QList<QUrl> showableUrls(const QList<shelf::BucketItemData>& payloads) {
    QList<QUrl> urls;
    for (const shelf::BucketItemData& payload : payloads) {
        if (const std::optional<QUrl> url = localFileOf(payload); url && !isMissing(payload))
            urls << *url;
    }
    return urls;
}

QString localPaths(const QList<shelf::BucketItemData>& payloads) {
    QStringList paths;
    for (const shelf::BucketItemData& payload : payloads) {
        if (const std::optional<QUrl> url = localFileOf(payload))
            paths << url->toLocalFile();
    }
    return paths.join(QLatin1Char('\n'));
}

void openPayloads(const QList<shelf::BucketItemData>& payloads,
                  desktop::DesktopServices& desktopServices) {
    QList<QUrl> programs;
    for (const QUrl& url : openableUrls(payloads)) {
        if (url.isLocalFile() && desktop::isProgramFile(url.toLocalFile()))
            programs << url;
        else
            desktopServices.openUrl(url);
    }
    if (!programs.isEmpty())
        desktopServices.showInFileManager(programs);
}

void showPayloadsInFolder(const QList<shelf::BucketItemData>& payloads,
                          desktop::DesktopServices& desktopServices) {
    desktopServices.showInFileManager(showableUrls(payloads));
}

} // namespace views
