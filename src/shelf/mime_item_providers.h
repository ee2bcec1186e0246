#pragma once

#include "shelf/item_provider.h"
#include "shelf/provider_types.h"

#include <QImage>

namespace shelf {

// The providers a drop's MIME data turns into. Each holds a snapshot of what the drop
// carried; a load runs on the thread that asks for it and calls its handler before it returns.
// A load for a type the provider has no representation of gets an error.

// One URI of a text/uri-list, kept encoded until a load parses it. A file URL hands back
// itself (a directory's URL gains its trailing slash once the load has looked at the file);
// any other URL hands back itself, or its text for a text type. A URI that does not parse
// loads as an error.
class UrlItemProvider final : public ItemProvider {
public:
    UrlItemProvider(QByteArray uri, bool isFile, SharedProviderTypes types);

    QStringList registeredTypeIdentifiers() const override { return m_types->identifiers(); }
    bool hasItemConformingToTypeIdentifier(const QString& typeIdentifier) const override {
        return m_types->conformsTo(typeIdentifier);
    }
    void loadItemForTypeIdentifier(const QString& typeIdentifier, ItemHandler handler) override;
    void loadDataRepresentationForTypeIdentifier(const QString& typeIdentifier,
                                                 DataHandler handler) override;

private:
    QByteArray m_uri;
    bool m_isFile;
    SharedProviderTypes m_types;
};

// Dropped text: hands back its bytes exactly as the drag source gave them.
class TextItemProvider final : public ItemProvider {
public:
    explicit TextItemProvider(QByteArray text);

    QStringList registeredTypeIdentifiers() const override;
    bool hasItemConformingToTypeIdentifier(const QString& typeIdentifier) const override;
    void loadItemForTypeIdentifier(const QString& typeIdentifier, ItemHandler handler) override;
    void loadDataRepresentationForTypeIdentifier(const QString& typeIdentifier,
                                                 DataHandler handler) override;

private:
    QByteArray m_text;
};

// Dropped image bytes without a file: the first item load writes them to a new private file
// in the cache directory (created 0700; the file 0600) and every item load hands back that
// file's URL. Data loads hand back the bytes.
class ImageItemProvider final : public ItemProvider {
public:
    // `bytes` in the format of `types`, or empty with `image` set (encoded as PNG on load);
    // `suffix` is the file name extension for that format.
    ImageItemProvider(QByteArray bytes, QImage image, QString suffix, SharedProviderTypes types,
                      QString cacheDirectory);
    ~ImageItemProvider() override;

    QStringList registeredTypeIdentifiers() const override { return m_types->identifiers(); }
    bool hasItemConformingToTypeIdentifier(const QString& typeIdentifier) const override {
        return m_types->conformsTo(typeIdentifier);
    }
    void loadItemForTypeIdentifier(const QString& typeIdentifier, ItemHandler handler) override;
    void loadDataRepresentationForTypeIdentifier(const QString& typeIdentifier,
                                                 DataHandler handler) override;

private:
    struct Snapshot;
    std::unique_ptr<Snapshot> m_snapshot;
    SharedProviderTypes m_types;
};

} // namespace shelf
