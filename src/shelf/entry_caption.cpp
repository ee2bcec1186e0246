#include "entry_caption.h"

#include <QCoreApplication>
#include <QStringList>
#include <QUrl>

#include <algorithm>
#include <limits>

namespace shelf {

namespace {

// Longer than any address anyone drops.
constexpr qsizetype kMaxAddressLength = 8192;

// The translation context of the texts here.
class EntryCaption {
    Q_DECLARE_TR_FUNCTIONS(EntryCaption)
};

int asCount(qsizetype count) {
    return static_cast<int>(std::min<qsizetype>(count, std::numeric_limits<int>::max()));
}

bool isFileLike(const UTType& type) {
    return type.conforms(UTType::fileURL) || type.conforms(UTType::image) ||
           type.conforms(UTType::folder);
}

QString singlePayloadDescription(const BucketItemData& payload) {
    if (isWebAddress(payload.content))
        return EntryCaption::tr("link to %1").arg(QUrl(payload.content.trimmed()).host());
    if (payload.type == UTType::plainText) {
        const qsizetype lines = payload.content.trimmed().count(QLatin1Char('\n')) + 1;
        return EntryCaption::tr("text, %n line(s)", nullptr, asCount(lines));
    }
    if (payload.type.conforms(UTType::folder))
        return EntryCaption::tr("folder");
    if (payload.type.conforms(UTType::image) && !payload.type.conforms(UTType::fileURL))
        return EntryCaption::tr("image");
    return EntryCaption::tr("file");
}

} // namespace

QString multiPayloadCaption(const QList<BucketItemData>& payloads) {
    qsizetype folders = 0;
    qsizetype files = 0;
    for (const BucketItemData& payload : payloads) {
        if (payload.type.conforms(UTType::folder))
            ++folders;
        else if (isFileLike(payload.type))
            ++files;
        else
            return EntryCaption::tr("%n item(s)", nullptr, asCount(payloads.size()));
    }
    if (folders == 0)
        return EntryCaption::tr("%n file(s)", nullptr, asCount(files));
    if (files == 0)
        return EntryCaption::tr("%n folder(s)", nullptr, asCount(folders));
    return EntryCaption::tr("%1, %2").arg(
        EntryCaption::tr("%n folder(s)", nullptr, asCount(folders)),
        EntryCaption::tr("%n file(s)", nullptr, asCount(files)));
}

QString entryCaption(const BucketItem& item) {
    return item.items.size() == 1 ? item.items.constFirst().displayName()
                                  : multiPayloadCaption(item.items);
}

QString entryDescription(const BucketItem& item) {
    const QString holds = item.items.size() == 1 ? singlePayloadDescription(item.items.constFirst())
                                                 : multiPayloadCaption(item.items);
    return item.isLocked ? EntryCaption::tr("%1, locked").arg(holds) : holds;
}

bool isWebAddress(const QString& text) {
    if (text.size() > kMaxAddressLength)
        return false;
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || trimmed.contains(QLatin1Char(' ')) ||
        trimmed.contains(QLatin1Char('\n')))
        return false;
    const QUrl url(trimmed, QUrl::StrictMode);
    static const QStringList schemes{QStringLiteral("http"), QStringLiteral("https"),
                                     QStringLiteral("ftp")};
    return url.isValid() && schemes.contains(url.scheme().toLower()) && !url.host().isEmpty();
}

} // namespace shelf
