// Fuzzes what a foreign drop can hand the item-provider factory: a text/uri-list body, text
// and image bytes of any shape, then loads every provider once and checks what comes back.
//
// Input: one flags byte, then up to four parts separated by NUL bytes: the uri-list body, the
// text, the image MIME subtype and the image bytes (the last part keeps any further NULs).
// Flags: bit 0 offers text/uri-list, bit 1 the text, bit 2 the image; bits 3-4 pick the text
// format name; bit 5 also offers application/x-qt-image.
#include "shelf/mime_item_provider_factory.h"
#include "shelf/uri_list.h"
#include "shelf/ut_type.h"
#include "support/raw_mime_data.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <variant>
#include <vector>

using shelf::ItemProvider;
using shelf::LoadedData;
using shelf::LoadedItem;
using shelf::LoadError;
using shelf::MimeItemProviderFactory;

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

// Cache files go to a private folder that disappears when the fuzzer exits.
struct Environment {
    QTemporaryDir root;
    QString cacheDirectory = root.filePath(QStringLiteral("holdfin"));
    MimeItemProviderFactory factory{cacheDirectory};

    Environment() { check(root.isValid()); }
};

Environment& environment() {
    static Environment instance;
    return instance;
}

QList<QByteArray> splitParts(const QByteArray& bytes) {
    QList<QByteArray> parts;
    qsizetype start = 0;
    while (parts.size() < 3) {
        const qsizetype nul = bytes.indexOf('\0', start);
        if (nul < 0)
            break;
        parts << bytes.mid(start, nul - start);
        start = nul + 1;
    }
    parts << bytes.mid(start);
    while (parts.size() < 4)
        parts << QByteArray();
    return parts;
}

// Every URI the parser keeps has a scheme and no byte a URI may not carry raw.
void checkUriList(const QByteArray& body) {
    for (const QByteArray& uri : shelf::parseUriList(body)) {
        check(!uri.isEmpty() && uri.contains(':'));
        for (const char c : uri) {
            const auto byte = static_cast<unsigned char>(c);
            check(byte > 0x20 && byte < 0x7f);
        }
        (void)shelf::lastPathSegment(uri);
        (void)shelf::isFileUri(uri);
    }
}

struct Results {
    std::vector<std::pair<QString, LoadedItem>> items;
    std::vector<std::pair<QString, LoadedData>> data;
    int expectedItems = 0;
    int expectedData = 0;
};

// Loads in ways that touch no file outside the cache folder: item loads (file URLs hand back
// themselves) and data loads of anything but a file's contents.
void load(ItemProvider& provider, Results& results) {
    const QStringList identifiers = provider.registeredTypeIdentifiers();
    check(!identifiers.isEmpty());
    for (const QString& identifier : identifiers)
        check(provider.hasItemConformingToTypeIdentifier(identifier));
    check(!provider.hasItemConformingToTypeIdentifier(QStringLiteral("no.such.type")));
    const bool isFile = identifiers.contains(shelf::UTType::fileURL.identifier());
    for (const QString& identifier :
         {identifiers.front(), shelf::UTType::url.identifier(),
          shelf::UTType::plainText.identifier(), QStringLiteral("no.such.type")}) {
        provider.loadItemForTypeIdentifier(identifier, [&results, identifier](LoadedItem item) {
            results.items.emplace_back(identifier, std::move(item));
        });
        ++results.expectedItems;
        if (!isFile || identifier == shelf::UTType::url.identifier()) {
            provider.loadDataRepresentationForTypeIdentifier(
                identifier, [&results, identifier](LoadedData data) {
                    results.data.emplace_back(identifier, std::move(data));
                });
            ++results.expectedData;
        }
    }
}

// Image bytes come back as a file of exactly those bytes, private to the user, in the cache
// folder and nowhere else.
void checkImageFile(const LoadedItem& item, const QString& cacheDirectory,
                    const QByteArray& bytes) {
    if (std::holds_alternative<LoadError>(item))
        return;
    const auto* url = std::get_if<QUrl>(&item);
    check(url && url->isLocalFile());
    QFile file(url->toLocalFile());
    check(QFileInfo(file).absolutePath() == QDir(cacheDirectory).absolutePath());
    check(file.permissions() ==
          (QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser));
    check(file.open(QIODevice::ReadOnly));
    check(bytes.isEmpty() || file.readAll() == bytes);
}

void checkResults(const ItemProvider& provider, Results& results, const QString& cacheDirectory,
                  const QByteArray& text, const QByteArray& imageBytes) {
    // Every handler runs exactly once.
    check(static_cast<int>(results.items.size()) == results.expectedItems);
    check(static_cast<int>(results.data.size()) == results.expectedData);
    const QStringList identifiers = provider.registeredTypeIdentifiers();
    const bool isFile = identifiers.contains(shelf::UTType::fileURL.identifier());
    const bool isText = identifiers == QStringList{shelf::UTType::plainText.identifier()};
    const bool isImage =
        !isFile && provider.hasItemConformingToTypeIdentifier(shelf::UTType::image.identifier());
    for (const auto& [identifier, item] : results.items) {
        const bool conforms = provider.hasItemConformingToTypeIdentifier(identifier);
        check(conforms || std::holds_alternative<LoadError>(item));
        if (conforms && isImage)
            checkImageFile(item, cacheDirectory, imageBytes);
    }
    for (const auto& [identifier, data] : results.data) {
        const bool conforms = provider.hasItemConformingToTypeIdentifier(identifier);
        check(conforms || std::holds_alternative<LoadError>(data));
        if (conforms && isText)
            check(std::get<QByteArray>(data) == text);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    Environment& env = environment();
    const std::uint8_t flags = data[0];
    const QList<QByteArray> parts = splitParts(
        QByteArray(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1)));
    const QByteArray& uriList = parts[0];
    const QByteArray& text = parts[1];
    const QString imageType = QStringLiteral("image/") + QString::fromLatin1(parts[2]);
    const QByteArray& imageBytes = parts[3];

    checkUriList(uriList);

    static const QString textFormats[] = {
        QStringLiteral("text/plain;charset=utf-8"), QStringLiteral("text/plain"),
        QStringLiteral("UTF8_STRING"), QStringLiteral("Text/Plain; Charset=UTF-8")};
    testing_support::RawMimeData::Formats formats;
    if (flags & 1)
        formats.emplace_back(QStringLiteral("text/uri-list"), uriList);
    if (flags & 2)
        formats.emplace_back(textFormats[(flags >> 3) & 3], text);
    if (flags & 4)
        formats.emplace_back(imageType, imageBytes);
    if (flags & 32)
        formats.emplace_back(QStringLiteral("application/x-qt-image"), imageBytes);
    const testing_support::RawMimeData mime(std::move(formats));

    const shelf::ItemProviderList providers = env.factory.providersFor(mime);
    if (!providers.empty())
        check(MimeItemProviderFactory::canProvide(mime));
    if (flags & 1)
        check(providers.size() <= static_cast<std::size_t>(uriList.count('\n') + 1) ||
              providers.size() == 1);

    std::vector<std::unique_ptr<Results>> results;
    for (const auto& provider : providers) {
        results.push_back(std::make_unique<Results>());
        load(*provider, *results.back());
    }
    for (std::size_t i = 0; i < providers.size(); ++i)
        checkResults(*providers[i], *results[i], env.cacheDirectory, text,
                     (flags & 4) ? imageBytes : QByteArray());
    MimeItemProviderFactory::clearImageCache(env.cacheDirectory);
    return 0;
}
