#include "shelf/file_type_resolver.h"

#include "shelf/uri_list.h"
#include "shelf/ut_type.h"

namespace shelf {

namespace {

// Suffixes the shared MIME database of some distributions does not know at all.
QString identifierForUnknownSuffix(const QString& fileName) {
    static const QHash<QString, QString> known = {
        {QStringLiteral("swift"), UTType::swiftSource.identifier()},
    };
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : known.value(fileName.mid(dot + 1).toLower());
}

} // namespace

FileTypeResolver::FileTypeResolver()
    : m_folder(std::make_shared<ProviderTypes>(
          QStringList{UTType::folder.identifier(), UTType::fileURL.identifier()})),
      m_link(std::make_shared<ProviderTypes>(
          QStringList{UTType::url.identifier(), UTType::plainText.identifier()})) {}

SharedProviderTypes FileTypeResolver::typesForFileUri(const QByteArray& uri) {
    const QString name = lastPathSegment(uri);
    if (name.isEmpty())
        return m_folder;
    if (m_suffixRules.matchesNoPattern(name)) {
        if (!m_unmatched)
            m_unmatched = typesForFileName(name);
        return m_unmatched;
    }
    const QString suffix = m_suffixRules.decidingSuffix(name);
    if (!suffix.isNull()) {
        if (auto it = m_bySuffix.constFind(suffix); it != m_bySuffix.cend())
            return *it;
    }
    SharedProviderTypes types = typesForFileName(name);
    if (!suffix.isNull())
        m_bySuffix.insert(suffix, types);
    return types;
}

SharedProviderTypes FileTypeResolver::typesForFileName(const QString& name) {
    QList<QMimeType> types = m_database.mimeTypesForFileName(name);
    if (types.isEmpty()) {
        if (const QString known = identifierForUnknownSuffix(name); !known.isEmpty())
            return typesForIdentifier(known);
        types << m_database.mimeTypeForName(QStringLiteral("application/octet-stream"));
    }
    return typesForMimeTypes(types, true);
}

SharedProviderTypes FileTypeResolver::typesForIdentifier(const QString& identifier) {
    if (auto it = m_identifierCache.constFind(identifier); it != m_identifierCache.cend())
        return *it;
    auto shared = std::make_shared<const ProviderTypes>(
        QStringList{identifier, UTType::fileURL.identifier()});
    m_identifierCache.insert(identifier, shared);
    return shared;
}

SharedProviderTypes FileTypeResolver::typesForImage(const QString& mimeType) {
    QMimeType type = m_database.mimeTypeForName(mimeType);
    if (!type.isValid())
        return std::make_shared<ProviderTypes>(
            QStringList{UTType::fromMimeType(mimeType).identifier()});
    return typesForMimeTypes({type}, false);
}

SharedProviderTypes FileTypeResolver::typesForMimeTypes(const QList<QMimeType>& types,
                                                        bool isFileUrl) {
    // One MIME type is the common case: its name is the key, without building a string.
    QString key = types.size() == 1 ? types.front().name() : QString();
    for (qsizetype i = 0; types.size() > 1 && i < types.size(); ++i)
        key += types[i].name() + QLatin1Char(' ');
    auto& cache = isFileUrl ? m_fileUrlCache : m_cache;
    if (auto it = cache.constFind(key); it != cache.cend())
        return *it;
    QStringList identifiers;
    for (const QMimeType& type : types) {
        const QString identifier = identifierFor(type);
        if (!identifiers.contains(identifier))
            identifiers << identifier;
    }
    if (isFileUrl)
        identifiers << UTType::fileURL.identifier();
    auto shared = std::make_shared<const ProviderTypes>(identifiers);
    cache.insert(key, shared);
    return shared;
}

// The MIME type itself, its aliases, then its ancestors nearest first (text/x-c++src is
// plain text); a type the table knows nothing of falls back on its family.
QString FileTypeResolver::identifierFor(const QMimeType& type) const {
    QStringList candidates{type.name()};
    candidates << type.aliases();
    for (const QString& ancestor : type.allAncestors()) {
        candidates << ancestor;
        candidates << m_database.mimeTypeForName(ancestor).aliases();
    }
    for (const QString& candidate : candidates) {
        // application/octet-stream is everyone's last ancestor; a family says more.
        if (candidate == QLatin1String("application/octet-stream"))
            continue;
        if (auto known = UTType::fromKnownMimeType(candidate))
            return known->identifier();
    }
    return UTType::fromMimeType(type.name()).identifier();
}

} // namespace shelf
