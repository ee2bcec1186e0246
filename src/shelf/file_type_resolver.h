#pragma once

#include "shelf/mime_glob_suffix_rules.h"
#include "shelf/provider_types.h"

#include <QHash>
#include <QMimeDatabase>

namespace shelf {

// Type identifiers of dropped URLs, decided from the name alone: nothing dropped is opened or
// stat'ed. Results are shared per set of MIME types and remembered per suffix where the suffix
// alone decides, and once for the names no pattern matches. Not thread safe.
class FileTypeResolver final {
public:
    FileTypeResolver();

    // A file URI (encoded, as a uri-list carries it): the identifiers of the MIME types its
    // file name matches, then public.file-url; a URI whose path ends with a slash is a folder.
    SharedProviderTypes typesForFileUri(const QByteArray& uri);
    // Any other URL (a web link): public.url and public.plain-text.
    const SharedProviderTypes& typesForLink() const { return m_link; }
    // Image bytes of MIME type `mimeType`: its image identifier.
    SharedProviderTypes typesForImage(const QString& mimeType);

private:
    QString identifierFor(const QMimeType& type) const;
    SharedProviderTypes typesForFileName(const QString& name);
    SharedProviderTypes typesForMimeTypes(const QList<QMimeType>& types, bool isFileUrl);
    // A file of a type the MIME database does not know: that identifier and public.file-url.
    SharedProviderTypes typesForIdentifier(const QString& identifier);

    QMimeDatabase m_database;
    MimeGlobSuffixRules m_suffixRules;
    QHash<QString, SharedProviderTypes> m_bySuffix;     // names whose suffix decides their type
    QHash<QString, SharedProviderTypes> m_cache;        // image data, by MIME type names
    QHash<QString, SharedProviderTypes> m_fileUrlCache; // file URLs, by MIME type names
    QHash<QString, SharedProviderTypes> m_identifierCache;
    SharedProviderTypes m_unmatched; // the type of every name no pattern matches
    SharedProviderTypes m_folder;
    SharedProviderTypes m_link;
};

} // namespace shelf
