#pragma once

#include <QString>
#include <QStringList>

#include <cstddef>
#include <optional>

namespace shelf {

// A uniform type identifier (reverse-DNS, e.g. "public.png") with its conformance relation.
// Identifiers outside the built-in table are kept as they are and conform only to themselves.
class UTType final {
public:
    UTType() = default;
    explicit UTType(QString identifier) : m_identifier(std::move(identifier)) {}

    const QString& identifier() const { return m_identifier; }

    // True when this type is `other` or inherits from it, directly or not.
    bool conforms(const UTType& other) const;
    // The identifiers this type directly conforms to, per the built-in table.
    QStringList directSupertypes() const;

    // The identifier for a MIME type ("image/png" -> public.png); aliases should be resolved
    // by the caller. Unknown MIME types fall back on their top-level family (image/* ->
    // public.image, text/* -> public.text, ...) and then on public.data.
    static UTType fromMimeType(const QString& mimeType);
    // The identifier the table maps `mimeType` (or one of its aliases) to; nothing when the
    // table does not know it (no family fallback).
    static std::optional<UTType> fromKnownMimeType(const QString& mimeType);
    // The preferred MIME type of this identifier, or an empty string when it has none.
    QString preferredMimeType() const;

    friend bool operator==(const UTType&, const UTType&) = default;

    static const UTType item, content, data, url, fileURL, directory, folder;
    static const UTType text, plainText, utf8PlainText, delimitedText, commaSeparatedText;
    static const UTType sourceCode, swiftSource, log, appleLog;
    static const UTType image, png, jpeg, tiff, gif, bmp, webp, heic, svg;
    static const UTType audiovisualContent, audio, mp3, mpeg4Audio, wav, aiff;
    static const UTType movie, video, mpeg4Movie, quickTimeMovie, mkv, webm, mpeg2TransportStream;
    static const UTType pdf, compositeContent, html, json, xml, archive, zip;

private:
    QString m_identifier;
};

std::size_t qHash(const UTType& type, std::size_t seed = 0) noexcept;

} // namespace shelf
