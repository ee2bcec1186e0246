#include "shelf/ut_type.h"

#include <QHash>

#include <utility>

namespace shelf {

namespace {

struct TypeRow {
    const char* identifier;
    std::initializer_list<const char*> supertypes;
    const char* mimeType; // preferred MIME type, or nullptr
};

// Identifier -> direct supertypes (and its MIME type where one exists).
const std::initializer_list<TypeRow> kTypeTable = {
    {"public.item", {}, nullptr},
    {"public.content", {}, nullptr},
    {"public.data", {"public.item"}, "application/octet-stream"},
    {"public.url", {"public.data"}, nullptr},
    {"public.file-url", {"public.url"}, nullptr},
    {"public.directory", {"public.item"}, nullptr},
    {"public.folder", {"public.directory"}, "inode/directory"},
    {"public.text", {"public.data", "public.content"}, nullptr},
    {"public.plain-text", {"public.text"}, "text/plain"},
    {"public.utf8-plain-text", {"public.plain-text"}, nullptr},
    {"public.delimited-values-text", {"public.text"}, nullptr},
    {"public.comma-separated-values-text", {"public.delimited-values-text"}, "text/csv"},
    {"public.source-code", {"public.plain-text"}, nullptr},
    {"public.swift-source", {"public.source-code"}, "text/x-swift"},
    {"public.log", {"public.plain-text"}, nullptr},
    {"com.apple.log", {"public.log"}, "text/x-log"},
    {"public.image", {"public.data", "public.content"}, nullptr},
    {"public.png", {"public.image"}, "image/png"},
    {"public.jpeg", {"public.image"}, "image/jpeg"},
    {"public.tiff", {"public.image"}, "image/tiff"},
    {"com.compuserve.gif", {"public.image"}, "image/gif"},
    {"com.microsoft.bmp", {"public.image"}, "image/bmp"},
    {"org.webmproject.webp", {"public.image"}, "image/webp"},
    {"public.heic", {"public.image"}, "image/heic"},
    {"public.svg-image", {"public.image", "public.xml"}, "image/svg+xml"},
    {"public.audiovisual-content", {"public.data", "public.content"}, nullptr},
    {"public.audio", {"public.audiovisual-content"}, nullptr},
    {"public.mp3", {"public.audio"}, "audio/mpeg"},
    {"public.mpeg-4-audio", {"public.audio"}, "audio/mp4"},
    {"com.microsoft.waveform-audio", {"public.audio"}, "audio/x-wav"},
    {"public.aiff-audio", {"public.audio"}, "audio/x-aiff"},
    {"public.movie", {"public.audiovisual-content"}, nullptr},
    {"public.video", {"public.movie"}, nullptr},
    {"public.mpeg-4", {"public.movie"}, "video/mp4"},
    {"com.apple.quicktime-movie", {"public.movie"}, "video/quicktime"},
    {"org.matroska.mkv", {"public.movie"}, "video/x-matroska"},
    {"org.webmproject.webm", {"public.movie"}, "video/webm"},
    {"public.mpeg-2-transport-stream", {"public.movie"}, "video/mp2t"},
    {"public.composite-content", {"public.content"}, nullptr},
    {"com.adobe.pdf", {"public.data", "public.composite-content"}, "application/pdf"},
    {"public.html", {"public.text"}, "text/html"},
    {"public.json", {"public.text"}, "application/json"},
    {"public.xml", {"public.text"}, "application/xml"},
    {"public.archive", {"public.data"}, nullptr},
    {"public.zip-archive", {"public.archive"}, "application/zip"},
};

// MIME types that map onto an identifier besides each identifier's preferred one.
const std::initializer_list<std::pair<const char*, const char*>> kMimeAliases = {
    {"image/jpg", "public.jpeg"},
    {"image/x-ms-bmp", "com.microsoft.bmp"},
    {"audio/wav", "com.microsoft.waveform-audio"},
    {"audio/x-m4a", "public.mpeg-4-audio"},
    {"audio/aiff", "public.aiff-audio"},
    {"text/xml", "public.xml"},
    {"text/x-csv", "public.comma-separated-values-text"},
    {"text/comma-separated-values", "public.comma-separated-values-text"},
    {"video/vnd.dlna.mpeg-tts", "public.mpeg-2-transport-stream"},
    {"application/x-zip-compressed", "public.zip-archive"},
};

struct Tables {
    QHash<QString, QStringList> supertypes;
    QHash<QString, QString> mimeToIdentifier;
    QHash<QString, QString> identifierToMime;

    Tables() {
        for (const auto& row : kTypeTable) {
            const QString id = QString::fromLatin1(row.identifier);
            QStringList parents;
            for (const char* parent : row.supertypes)
                parents << QString::fromLatin1(parent);
            supertypes.insert(id, parents);
            if (row.mimeType) {
                const QString mime = QString::fromLatin1(row.mimeType);
                mimeToIdentifier.insert(mime, id);
                identifierToMime.insert(id, mime);
            }
        }
        for (const auto& [mime, id] : kMimeAliases)
            mimeToIdentifier.insert(QString::fromLatin1(mime), QString::fromLatin1(id));
    }
};

const Tables& tables() {
    static const Tables instance; // immutable after construction; thread-safe static init
    return instance;
}

} // namespace

const UTType UTType::item{QStringLiteral("public.item")};
const UTType UTType::content{QStringLiteral("public.content")};
const UTType UTType::data{QStringLiteral("public.data")};
const UTType UTType::url{QStringLiteral("public.url")};
const UTType UTType::fileURL{QStringLiteral("public.file-url")};
const UTType UTType::directory{QStringLiteral("public.directory")};
const UTType UTType::folder{QStringLiteral("public.folder")};
const UTType UTType::text{QStringLiteral("public.text")};
const UTType UTType::plainText{QStringLiteral("public.plain-text")};
const UTType UTType::utf8PlainText{QStringLiteral("public.utf8-plain-text")};
const UTType UTType::delimitedText{QStringLiteral("public.delimited-values-text")};
const UTType UTType::commaSeparatedText{QStringLiteral("public.comma-separated-values-text")};
const UTType UTType::sourceCode{QStringLiteral("public.source-code")};
const UTType UTType::swiftSource{QStringLiteral("public.swift-source")};
const UTType UTType::log{QStringLiteral("public.log")};
const UTType UTType::appleLog{QStringLiteral("com.apple.log")};
const UTType UTType::image{QStringLiteral("public.image")};
const UTType UTType::png{QStringLiteral("public.png")};
const UTType UTType::jpeg{QStringLiteral("public.jpeg")};
const UTType UTType::tiff{QStringLiteral("public.tiff")};
const UTType UTType::gif{QStringLiteral("com.compuserve.gif")};
const UTType UTType::bmp{QStringLiteral("com.microsoft.bmp")};
const UTType UTType::webp{QStringLiteral("org.webmproject.webp")};
const UTType UTType::heic{QStringLiteral("public.heic")};
const UTType UTType::svg{QStringLiteral("public.svg-image")};
const UTType UTType::audiovisualContent{QStringLiteral("public.audiovisual-content")};
const UTType UTType::audio{QStringLiteral("public.audio")};
const UTType UTType::mp3{QStringLiteral("public.mp3")};
const UTType UTType::mpeg4Audio{QStringLiteral("public.mpeg-4-audio")};
const UTType UTType::wav{QStringLiteral("com.microsoft.waveform-audio")};
const UTType UTType::aiff{QStringLiteral("public.aiff-audio")};
const UTType UTType::movie{QStringLiteral("public.movie")};
const UTType UTType::video{QStringLiteral("public.video")};
const UTType UTType::mpeg4Movie{QStringLiteral("public.mpeg-4")};
const UTType UTType::quickTimeMovie{QStringLiteral("com.apple.quicktime-movie")};
const UTType UTType::mkv{QStringLiteral("org.matroska.mkv")};
const UTType UTType::webm{QStringLiteral("org.webmproject.webm")};
const UTType UTType::mpeg2TransportStream{QStringLiteral("public.mpeg-2-transport-stream")};
const UTType UTType::pdf{QStringLiteral("com.adobe.pdf")};
const UTType UTType::compositeContent{QStringLiteral("public.composite-content")};
const UTType UTType::html{QStringLiteral("public.html")};
const UTType UTType::json{QStringLiteral("public.json")};
const UTType UTType::xml{QStringLiteral("public.xml")};
const UTType UTType::archive{QStringLiteral("public.archive")};
const UTType UTType::zip{QStringLiteral("public.zip-archive")};

QStringList UTType::directSupertypes() const {
    return tables().supertypes.value(m_identifier);
}

bool UTType::conforms(const UTType& other) const {
    if (m_identifier == other.m_identifier)
        return true;
    // The table is a small acyclic graph: a depth-first walk is cheap.
    QStringList pending = directSupertypes();
    while (!pending.isEmpty()) {
        const QString next = pending.takeLast();
        if (next == other.m_identifier)
            return true;
        pending << tables().supertypes.value(next);
    }
    return false;
}

std::optional<UTType> UTType::fromKnownMimeType(const QString& mimeType) {
    const auto& map = tables().mimeToIdentifier;
    if (auto it = map.constFind(mimeType.trimmed().toLower()); it != map.cend())
        return UTType(*it);
    return std::nullopt;
}

UTType UTType::fromMimeType(const QString& mimeType) {
    if (auto known = fromKnownMimeType(mimeType))
        return *known;
    const QString mime = mimeType.trimmed().toLower();
    const QString family = mime.section(QLatin1Char('/'), 0, 0);
    if (family == QLatin1String("image"))
        return image;
    if (family == QLatin1String("audio"))
        return audio;
    if (family == QLatin1String("video"))
        return movie;
    if (family == QLatin1String("text"))
        return text;
    return data;
}

QString UTType::preferredMimeType() const {
    return tables().identifierToMime.value(m_identifier);
}

std::size_t qHash(const UTType& type, std::size_t seed) noexcept {
    return qHash(type.identifier(), seed);
}

} // namespace shelf
