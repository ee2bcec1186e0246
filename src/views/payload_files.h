#pragma once

#include "shelf/bucket_item.h"

#include <QList>
#include <QString>
#include <QUrl>

#include <optional>

namespace views {

// Whether a payload of this type stands for a file: a drag out offers it as a URL.
bool isFileLike(const shelf::UTType& type);

// The URL of the local file a payload names: a file-like payload whose content is a file URL.
// Nothing for texts, links and contents that are no URL.
std::optional<QUrl> localFileOf(const shelf::BucketItemData& payload);

// Whether the local file the payload names is gone (one stat). Payloads that name no local
// file are never missing: nothing could be checked. Any thread.
bool isMissing(const shelf::BucketItemData& payload);

// The payloads less those whose files are gone, in order. Any thread.
QList<shelf::BucketItemData> presentPayloads(const QList<shelf::BucketItemData>& payloads);

// Whether the entry holds payloads and every one of them is a file that is gone; stops at the
// first one that is not. Any thread.
bool areAllFilesMissing(const QList<shelf::BucketItemData>& payloads);

} // namespace views
