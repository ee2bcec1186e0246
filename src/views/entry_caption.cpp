#include "entry_caption.h"

#include "payload_files.h"

namespace views {

using shelf::UTType;

namespace {

QString counted(qsizetype count, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}

} // namespace

QString multiPayloadCaption(const QList<shelf::BucketItemData>& payloads) {
    qsizetype folders = 0;
    qsizetype files = 0;
    for (const shelf::BucketItemData& payload : payloads) {
        if (payload.type.conforms(UTType::folder))
            ++folders;
        else if (isFileLike(payload.type))
            ++files;
        else
            return counted(payloads.size(), "item", "items");
    }
    if (folders == 0)
        return counted(files, "file", "files");
    if (files == 0)
        return counted(folders, "folder", "folders");
    return counted(folders, "folder", "folders") + QStringLiteral(", ") +
           counted(files, "file", "files");
}

} // namespace views
