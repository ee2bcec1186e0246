#pragma once

#include "shelf/bucket_item.h"

#include <QList>
#include <QSet>
#include <QString>

namespace shelf {

// The shelf kept on disk between sessions: `shelf.json` in a folder of the user's data, with
// an `images` folder beside it for the image bytes that drops saved (a drop's image lives in
// the cache folder, which start-up empties). An image stays in the data folder while a saved
// or retained entry refers to it, and goes once none does. GUI thread; one store per folder.
class ShelfStore final {
public:
    // What load() found.
    struct Loaded {
        QList<BucketItem> items;
        // Empty, or why the saved file could not be read; `items` then holds what could still
        // be read of it, and it was kept aside as `keptAs` (empty when even that failed).
        QString problem;
        QString keptAs;
    };

    // `directory` holds the saved shelf (made, mode 0700, on the first save);
    // `imageCacheDirectory` is where drops write image bytes.
    ShelfStore(const QString& directory, const QString& imageCacheDirectory);

    // $XDG_DATA_HOME/holdfin (~/.local/share/holdfin by default).
    static QString defaultDirectory();

    QString filePath() const;
    QString imageDirectory() const;

    // The saved shelf; empty when there is none. A file that is not a readable shelf (damaged,
    // of wrong types, larger than ShelfFile::kMaximumSize, not a regular file) gives what can
    // still be read of it and is renamed to `shelf.json.broken`, or `.broken.2`, `.3`… when
    // earlier ones are there: no damaged file replaces another. Never blocks on the file's
    // content beyond reading at most the size limit.
    Loaded load();

    // Writes `items` atomically; the images they hold from the cache are linked (or copied)
    // into the data folder first. Afterwards the data folder keeps the images that `items` or
    // `retained` (entries that may come back, such as undoable ones) refer to, and no other.
    // An empty shelf with nothing saved yet writes nothing. False when the file could not be
    // written; the previous one then stays.
    bool save(const QList<BucketItem>& items, const QList<BucketItem>& retained = {});

    // Deletes the saved shelf and the images none of `retained` refers to.
    void erase(const QList<BucketItem>& retained = {});

private:
    // The entries as they are saved: cached images replaced by their copies in the data folder.
    QList<BucketItem> persisted(const QList<BucketItem>& items);
    // The local file of `content` when it lies in `directory`, else an empty string.
    static QString fileIn(const QString& content, const QString& directory);
    QSet<QString> imagesReferredToBy(const QList<BucketItem>& items) const;
    void removeImagesExcept(const QSet<QString>& keep) const;
    bool makePrivateDirectory(const QString& path) const;
    // Renames the saved file to the first free `.broken` name; that name, or empty.
    QString keepAside() const;

    QString m_directory;
    QString m_imageCacheDirectory;
};

} // namespace shelf
