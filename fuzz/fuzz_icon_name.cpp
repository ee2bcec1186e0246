// Fuzzes type identifiers and MIME type names of any shape: conformance, the MIME mapping and
// the symbol a payload of that type shows.
//
// Input: the identifier, then optionally a NUL and a MIME type name.
#include "shelf/bucket_item.h"
#include "shelf/ut_type.h"

#include <QSet>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using shelf::UTType;

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

const QSet<QString>& symbolNames() {
    static const QSet<QString> names = {
        QStringLiteral("folder.fill"),   QStringLiteral("doc.fill"),
        QStringLiteral("doc.text.fill"), QStringLiteral("waveform"),
        QStringLiteral("film.fill"),     QStringLiteral("doc.richtext.fill")};
    return names;
}

void checkType(const UTType& type) {
    check(type.conforms(type));
    const QStringList supertypes = type.directSupertypes();
    for (const QString& parent : supertypes)
        check(type.conforms(UTType(parent)));
    // Outside the table a type conforms to itself alone.
    if (supertypes.isEmpty() && type != UTType::item)
        check(!type.conforms(UTType::item) && !type.conforms(UTType::data));
    const shelf::BucketItemData payload(QStringLiteral("file:///a/b"), type);
    const QString icon = payload.iconName();
    check(symbolNames().contains(icon));
    if (type.conforms(UTType::folder))
        check(icon == QLatin1String("folder.fill"));
    if (!supertypes.isEmpty() || type == UTType::item)
        (void)type.preferredMimeType();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype nul = bytes.indexOf('\0');
    const QString identifier = QString::fromUtf8(nul < 0 ? bytes : bytes.left(nul));
    checkType(UTType(identifier));

    if (nul >= 0) {
        const QString mimeType = QString::fromUtf8(bytes.mid(nul + 1));
        // Any MIME type name maps into the table, at worst onto public.data.
        const UTType type = UTType::fromMimeType(mimeType);
        check(type.conforms(UTType::item) || type.conforms(UTType::data));
        checkType(type);
        if (const auto known = UTType::fromKnownMimeType(mimeType))
            check(*known == type);
    }
    return 0;
}
