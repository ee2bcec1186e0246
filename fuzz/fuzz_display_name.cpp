// Fuzzes the payload presentation properties with arbitrary content and type identifiers.
#include "shelf/bucket_item.h"

#include <QSet>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    // First byte: how many following bytes form the type identifier.
    const std::size_t idLength = std::min<std::size_t>(data[0], size - 1);
    const auto* bytes = reinterpret_cast<const char*>(data + 1);
    const QString identifier = QString::fromUtf8(bytes, static_cast<qsizetype>(idLength));
    const QString content =
        QString::fromUtf8(bytes + idLength, static_cast<qsizetype>(size - 1 - idLength));

    static const QSet<QString> icons = {
        QStringLiteral("folder.fill"),   QStringLiteral("doc.fill"),
        QStringLiteral("doc.text.fill"), QStringLiteral("waveform"),
        QStringLiteral("film.fill"),     QStringLiteral("doc.richtext.fill")};
    for (const shelf::UTType& type :
         {shelf::UTType(identifier), shelf::UTType::plainText, shelf::UTType::fileURL}) {
        const shelf::BucketItemData payload(content, type);
        if (!icons.contains(payload.iconName()))
            std::abort();
        const QString name = payload.displayName();
        if (type.conforms(shelf::UTType::plainText) && !content.contains(name))
            std::abort(); // trimming may only shorten the text
    }
    return 0;
}
