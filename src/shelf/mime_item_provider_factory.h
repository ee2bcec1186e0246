#pragma once

#include "shelf/file_type_resolver.h"
#include "shelf/item_provider.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>
#include <QThreadPool>

#include <functional>
#include <mutex>

class QMimeData;

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
// working out what it is, one file name at a time, and loading it are left to a pool thread.
class MimeItemProviderFactory final {
public:
    // `imageCacheDirectory` receives image bytes dropped without a file.
    explicit MimeItemProviderFactory(QString imageCacheDirectory);

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
    // Blocks until every drop handed to makeProviders so far has been handled.
    void waitForDrops();

    // Whether `data` offers anything providersFor turns into a provider; looks at the
    // offered formats only, so it is cheap during a drag.
    static bool canProvide(const QMimeData& data);
    // $XDG_CACHE_HOME/holdfin (~/.cache/holdfin by default).
    static QString defaultImageCacheDirectory();
    // Removes what earlier runs cached in `directory` (its own files only: nothing is
    // followed out of it). Call before any drop.
    static void clearImageCache(const QString& directory);

private:
    const QString m_imageCacheDirectory;
    std::mutex m_resolverMutex; // drops and providersFor may use it from different threads
    FileTypeResolver m_resolver;
    // One thread: one drop at a time, first in, first out. Declared last, so that it is
    // destroyed first, waiting for the drops that use the members above.
    QThreadPool m_drops;
};

} // namespace shelf
