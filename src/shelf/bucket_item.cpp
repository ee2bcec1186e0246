#include "bucket_item.h"

#include <QHashFunctions>
#include <QStringDecoder>
#include <QUrl>

#include <array>
#include <utility>

namespace shelf {

using shelf::UTType;

namespace {

// Canonical equivalence: identical code units are equal without normalising.
bool canonicallyEqual(const QString& a, const QString& b) {
    if (a == b)
        return true;
    return a.normalized(QString::NormalizationForm_D) == b.normalized(QString::NormalizationForm_D);
}

std::size_t hashContent(const QString& content, std::size_t seed) {
    return qHash(content.normalized(QString::NormalizationForm_D), seed);
}

std::size_t combine(std::size_t seed, std::size_t value) {
    return seed ^ (value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2));
}

QString lastPathComponent(const QString& path) {
    qsizetype end = path.size();
    while (end > 0 && path.at(end - 1) == QLatin1Char('/'))
        --end;
    if (end == 0)
        return path.isEmpty() ? QString() : QStringLiteral("/");
    const qsizetype start = path.lastIndexOf(QLatin1Char('/'), end - 1) + 1;
    return path.mid(start, end - start);
}

// Percent-decodes a URL path; bytes that do not form UTF-8 leave the path encoded, so a
// name is never shown with replacement characters standing for lost bytes.
QString decodedPath(const QUrl& url) {
    const QString encoded = url.path(QUrl::FullyEncoded);
    const QByteArray bytes = QByteArray::fromPercentEncoding(encoded.toLatin1());
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = decoder.decode(bytes);
    return decoder.hasError() ? encoded : decoded;
}

} // namespace

QString BucketItemData::iconName() const {
    static const std::array<std::pair<const UTType*, const char*>, 6> table = {{
        {&UTType::folder, "folder.fill"},
        {&UTType::image, "doc.fill"},
        {&UTType::plainText, "doc.text.fill"},
        {&UTType::audio, "waveform"},
        {&UTType::video, "film.fill"},
        {&UTType::pdf, "doc.richtext.fill"},
    }};
    for (const auto& [candidate, name] : table) {
        if (type.conforms(*candidate))
            return QString::fromLatin1(name);
    }
    return QStringLiteral("doc.fill");
}

QString BucketItemData::displayName() const {
    if (type.conforms(UTType::plainText))
        return content.trimmed(); // trims the Unicode whitespace and newline classes
    QString component = lastPathComponent(content);
    const QUrl reference(component, QUrl::StrictMode);
    if (!reference.isValid())
        return component;
    return decodedPath(reference);
}

bool operator==(const BucketItemData& a, const BucketItemData& b) {
    return a.id == b.id && canonicallyEqual(a.content, b.content) && a.type == b.type;
}

bool operator==(const BucketItem& a, const BucketItem& b) {
    if (a.id != b.id)
        return false;
    const bool sameStorage =
        a.items.constData() == b.items.constData() && a.items.size() == b.items.size();
    if (!sameStorage && a.items != b.items)
        return false;
    return a.isLocked == b.isLocked;
}

std::size_t qHash(const BucketItemData& data, std::size_t seed) noexcept {
    std::size_t h = combine(seed, qHash(data.id, seed));
    h = combine(h, hashContent(data.content, seed));
    return combine(h, qHash(data.type, seed));
}

std::size_t qHash(const BucketItem& item, std::size_t seed) noexcept {
    std::size_t h = combine(seed, qHash(item.id, seed));
    h = combine(h, static_cast<std::size_t>(item.items.size()));
    for (const BucketItemData& data : item.items)
        h = qHash(data, h);
    return combine(h, static_cast<std::size_t>(item.isLocked ? 1 : 0));
}

} // namespace shelf
