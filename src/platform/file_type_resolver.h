#pragma once

#include "provider_types.h"

#include <QHash>
#include <QMimeDatabase>
#include <QUrl>

namespace platform {

// Type identifiers of dropped URLs, decided from the name alone: nothing is opened or
// stat'ed, so it is safe on the GUI thread. Results are cached per set of MIME types. Not
// thread safe; one per thread.
class FileTypeResolver final {
public:
    FileTypeResolver();

    // A file URL: the identifiers of the MIME types its file name matches, then public.file-url;
    // a URL whose path ends with a slash is a folder.
    SharedProviderTypes typesForFileUrl(const QUrl& url);
    // Any other URL (a web link): public.url and public.plain-text.
    const SharedProviderTypes& typesForLink() const { return m_link; }
    // Image bytes of MIME type `mimeType`: its image identifier.
    SharedProviderTypes typesForImage(const QString& mimeType);

private:
    QString identifierFor(const QMimeType& type) const;
    SharedProviderTypes typesForMimeTypes(const QList<QMimeType>& types, bool isFileUrl);
    // A file of a type the MIME database does not know: that identifier and public.file-url.
    SharedProviderTypes typesForIdentifier(const QString& identifier);

    QMimeDatabase m_database;
    QHash<QString, SharedProviderTypes> m_cache;
    SharedProviderTypes m_folder;
    SharedProviderTypes m_link;
};

} // namespace platform
