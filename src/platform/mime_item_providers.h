#pragma once

#include "item_provider.h"
#include "provider_types.h"

#include <QImage>

class QThreadPool;

namespace platform {

// The providers a drop's MIME data turns into. Each holds a snapshot of what the drop
// carried and runs its loads on the given pool, which must outlive them; handlers are
// called once each, on a pool thread. A load for a type the provider has no representation
// of gets an error.

// One URI of a text/uri-list. A file URL hands back itself (a directory's URL gains its
// trailing slash once the load has looked at the file); any other URL hands back itself, or
// its text for a text type.
class UrlItemProvider final : public ItemProvider {
public:
    UrlItemProvider(QUrl url, SharedProviderTypes types, QThreadPool& pool);

    QStringList registeredTypeIdentifiers() const override { return m_types->identifiers(); }
    bool hasItemConformingToTypeIdentifier(const QString& typeIdentifier) const override {
        return m_types->conformsTo(typeIdentifier);
    }
    void loadItemForTypeIdentifier(const QString& typeIdentifier, ItemHandler handler) override;
    void loadDataRepresentationForTypeIdentifier(const QString& typeIdentifier,
                                                 DataHandler handler) override;

private:
    QUrl m_url;
    SharedProviderTypes m_types;
    QThreadPool* m_pool;
};

// Dropped text: hands back its bytes exactly as the drag source gave them.
class TextItemProvider final : public ItemProvider {
public:
    TextItemProvider(QByteArray text, QThreadPool& pool);

    QStringList registeredTypeIdentifiers() const override;
    bool hasItemConformingToTypeIdentifier(const QString& typeIdentifier) const override;
    void loadItemForTypeIdentifier(const QString& typeIdentifier, ItemHandler handler) override;
    void loadDataRepresentationForTypeIdentifier(const QString& typeIdentifier,
                                                 DataHandler handler) override;

private:
    QByteArray m_text;
    QThreadPool* m_pool;
};

// Dropped image bytes without a file: the first item load writes them to a new private file
// in the cache directory (created 0700; the file 0600) and every item load hands back that
// file's URL. Data loads hand back the bytes.
class ImageItemProvider final : public ItemProvider {
public:
    // `bytes` in the format of `types`, or empty with `image` set (encoded as PNG on load);
    // `suffix` is the file name extension for that format.
    ImageItemProvider(QByteArray bytes, QImage image, QString suffix, SharedProviderTypes types,
                      QString cacheDirectory, QThreadPool& pool);

    QStringList registeredTypeIdentifiers() const override { return m_types->identifiers(); }
    bool hasItemConformingToTypeIdentifier(const QString& typeIdentifier) const override {
        return m_types->conformsTo(typeIdentifier);
    }
    void loadItemForTypeIdentifier(const QString& typeIdentifier, ItemHandler handler) override;
    void loadDataRepresentationForTypeIdentifier(const QString& typeIdentifier,
                                                 DataHandler handler) override;

private:
    struct Snapshot;
    std::shared_ptr<Snapshot> m_snapshot;
    SharedProviderTypes m_types;
    QThreadPool* m_pool;
};

} // namespace platform
