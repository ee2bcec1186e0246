#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace desktop {

// The thumbnail cache that file managers and image viewers share under
// `$XDG_CACHE_HOME/thumbnails`: one PNG per file, named by the MD5 of the file's URI, in a folder
// per size. A thumbnail is fresh while its `Thumb::URI` and `Thumb::MTime` still match the file.
// A value; any thread (each call touches only the files it names).
class ThumbnailCache final {
public:
    enum class Flavor { Normal, Large };

    // `root` is the thumbnails folder itself.
    explicit ThumbnailCache(const QString& root);
    // `$XDG_CACHE_HOME/thumbnails`, `~/.cache/thumbnails` when that is unset.
    static QString defaultRoot();

    // The longest edge of a thumbnail: 128 (normal) or 256 (large) pixels.
    static int edge(Flavor flavor);
    // The flavor that covers `edge` pixels without scaling up, large when none does.
    static Flavor flavorFor(int edge);
    // The canonical URI of the absolute local `path`, percent-encoded as the cache names it.
    static QString uriOf(const QString& path);

    const QString& root() const { return m_root; }
    // Where the thumbnail of `uri` lives, whether or not it exists.
    QString pathFor(const QString& uri, Flavor flavor) const;
    // Whether `path` lies inside the cache: such files get no thumbnails of their own.
    bool holds(const QString& path) const;

    // The thumbnail of `uri` when one is stored for a file last modified at `mtime` (seconds
    // since the epoch) and, where the thumbnail records one, of `size` bytes; null otherwise,
    // unreadable and foreign thumbnails included.
    QImage readFresh(const QString& uri, qint64 mtime, qint64 size, Flavor flavor) const;
    // Stores `image` as the thumbnail of `uri` (a file of `size` bytes modified at `mtime`),
    // replacing the old one atomically, readable by the user alone. `original` is the image's
    // own size, recorded when valid. False when it could not be written.
    bool write(const QImage& image, const QString& uri, qint64 mtime, qint64 size, QSize original,
               Flavor flavor) const;

private:
    QString m_root;
};

} // namespace desktop
