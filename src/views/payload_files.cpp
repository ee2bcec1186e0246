#include "payload_files.h"

#include "core/local_path.h"
#include "payload_url.h"

#include <sys/stat.h>

#include <algorithm>

namespace views {

using shelf::UTType;

bool isFileLike(const UTType& type) {
    return type.conforms(UTType::fileURL) || type.conforms(UTType::image) ||
           type.conforms(UTType::folder);
}

std::optional<QUrl> localFileOf(const shelf::BucketItemData& payload) {
    if (!isFileLike(payload.type))
        return std::nullopt;
    std::optional<QUrl> url = urlFromString(payload.content);
    if (!url || !url->isLocalFile())
        return std::nullopt;
    return url;
}

bool isMissing(const shelf::BucketItemData& payload) {
    const std::optional<QUrl> url = localFileOf(payload);
    if (!url)
        return false;
    // stat follows links: a dangling one is gone too.
    const QByteArray path = core::localPathBytes(*url);
    struct stat status {};
    return ::stat(path.constData(), &status) != 0;
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
