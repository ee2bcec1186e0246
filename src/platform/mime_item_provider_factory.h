#pragma once

#include "file_type_resolver.h"
#include "item_provider.h"

#include <memory>

class QMimeData;
class QThreadPool;

namespace platform {

class LoadQueue;

// Turns the MIME data of a drop into item providers. Everything the drop carries is read
// here, on the GUI thread, while the drop event lasts (another X11 client's data can be read
// only then); the providers load from that snapshot on the pool's threads. GUI thread only.
class MimeItemProviderFactory final {
public:
    // `imageCacheDirectory` receives image bytes dropped without a file; `pool` runs the
    // loads and must outlive every provider.
    MimeItemProviderFactory(QString imageCacheDirectory, QThreadPool& pool);

    // One provider per URI of the text/uri-list, in order; without URIs one for the text (if any);
    // without either one for image bytes; else none. Malformed data gives fewer providers.
    ItemProviderList providersFor(const QMimeData& data);

    // Whether `data` offers anything providersFor turns into a provider; looks at the
    // offered formats only, so it is cheap during a drag.
    static bool canProvide(const QMimeData& data);
    // $XDG_CACHE_HOME/holdfin (~/.cache/holdfin by default).
    static QString defaultImageCacheDirectory();
    // Removes what earlier runs cached in `directory` (its own files only: nothing is
    // followed out of it). Call before any drop.
    static void clearImageCache(const QString& directory);

private:
    QString m_imageCacheDirectory;
    std::shared_ptr<LoadQueue> m_loads;
    FileTypeResolver m_resolver;
};

} // namespace platform
