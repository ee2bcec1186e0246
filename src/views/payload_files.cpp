#include "payload_files.h"

#include "payload_url.h"

#include <QFileInfo>

#include <algorithm>

namespace views {

using shelf::UTType;

bool isFileLike(const UTType& type) {
    return type.conforms(UTType::fileURL) || type.conforms(UTType::image) ||
           type.conforms(UTType::folder);
}

std::optional<QString> localFileOf(const shelf::BucketItemData& payload) {
    if (!isFileLike(payload.type))
        return std::nullopt;
    const std::optional<QUrl> url = urlFromString(payload.content);
    if (!url || !url->isLocalFile())
        return std::nullopt;
    return url->toLocalFile();
}

bool isMissing(const shelf::BucketItemData& payload) {
    const std::optional<QString> path = localFileOf(payload);
    // A dangling symbolic link is gone too: what it named cannot be handed over.
    return path && !QFileInfo::exists(*path);
}

QList<shelf::BucketItemData> presentPayloads(const QList<shelf::BucketItemData>& payloads) {
    QList<shelf::BucketItemData> present;
    present.reserve(payloads.size());
    for (const shelf::BucketItemData& payload : payloads) {
        if (!isMissing(payload))
            present << payload;
    }
    return present;
}

bool areAllFilesMissing(const QList<shelf::BucketItemData>& payloads) {
    return !payloads.isEmpty() && std::all_of(payloads.cbegin(), payloads.cend(), isMissing);
}

} // namespace views
