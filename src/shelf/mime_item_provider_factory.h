#pragma once

#include "shelf/item_provider.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

class QMimeData;
class QThreadPool;

namespace core {
class LoadQueue;
}

namespace shelf {

// What one drop carried, read while its event lasted: the URIs of its text/uri-list that can
// become providers; without any, its text; without text, its image. At most one kind is set.
struct DropContents {
    struct Uri {
        QByteArray encoded;
        bool isFile;
    };
    QList<Uri> uris;
    QByteArray text;
    QByteArray imageBytes;
    QString imageFormat; // the MIME type of imageBytes
    QImage image;        // a toolkit image, when there are no bytes

    bool isEmpty() const {
        return uris.isEmpty() && text.isEmpty() && imageBytes.isEmpty() && image.isNull();
    }
};

// Turns the MIME data of a drop into item providers. Everything the drop carries is read on
// the GUI thread while the drop event lasts (another X11 client's data can be read only then);
// working out what it is, one file name at a time, is left to a pool thread, and the providers
// load from that snapshot on the pool's threads.
class MimeItemProviderFactory final {
public:
    // `imageCacheDirectory` receives image bytes dropped without a file; `pool` runs the
    // loads and must outlive every provider.
    MimeItemProviderFactory(QString imageCacheDirectory, QThreadPool& pool);
    ~MimeItemProviderFactory();

    // Reads what `data` carries; malformed data gives less. Costs little more than the reads
    // themselves. GUI thread.
    static DropContents read(const QMimeData& data);

    // One provider per URI, in order, or one for the text, or one for the image; none for
    // empty contents. Any thread.
    ItemProviderList providersFor(const DropContents& contents);
    ItemProviderList providersFor(const QMimeData& data) { return providersFor(read(data)); }

    // Makes the providers of `contents` on a pool thread and hands them to `handler` there.
    // Drops are handled one at a time, in the order of the calls; a drop of 100,000 files
    // costs the GUI thread nothing but this call. Any thread.
    using ProvidersHandler = std::function<void(ItemProviderList)>;
    void makeProviders(DropContents contents, ProvidersHandler handler);

    // Whether `data` offers anything providersFor turns into a provider; looks at the
    // offered formats only, so it is cheap during a drag.
    static bool canProvide(const QMimeData& data);
    // $XDG_CACHE_HOME/holdfin (~/.cache/holdfin by default).
    static QString defaultImageCacheDirectory();
    // Removes what earlier runs cached in `directory` (its own files only: nothing is
    // followed out of it). Call before any drop.
    static void clearImageCache(const QString& directory);

private:
    struct Builder;
    // Shared with queued work, which may outlive this object until the pool has finished it.
    std::shared_ptr<Builder> m_builder;
    std::shared_ptr<core::LoadQueue> m_drops; // one drop at a time
};

} // namespace shelf
