#include "desktop/thumbnail_cache.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

#include <utility>

namespace desktop {

namespace {

constexpr auto kOwnerOnlyFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr auto kOwnerOnlyFolder = kOwnerOnlyFile | QFileDevice::ExeOwner;

const QString kUriKey = QStringLiteral("Thumb::URI");
const QString kMTimeKey = QStringLiteral("Thumb::MTime");
const QString kSizeKey = QStringLiteral("Thumb::Size");

QString folderName(ThumbnailCache::Flavor flavor) {
    return flavor == ThumbnailCache::Flavor::Normal ? QStringLiteral("normal")
                                                    : QStringLiteral("large");
}

// Makes `folder` and its missing parents private to the user; folders that exist keep the
// permissions their owner gave them.
bool makePrivateFolder(const QString& folder) {
    QStringList missing;
    for (QDir dir(folder); !dir.exists(); dir.setPath(QFileInfo(dir.path()).path())) {
        missing.prepend(dir.path());
        if (dir.isRoot())
            return false;
    }
    for (const QString& path : std::as_const(missing)) {
        if (!QDir().mkdir(path) && !QFileInfo(path).isDir())
            return false;
        QFile::setPermissions(path, kOwnerOnlyFolder);
    }
    return true;
}

} // namespace

ThumbnailCache::ThumbnailCache(const QString& root) : m_root(QDir::cleanPath(root)) {}

QString ThumbnailCache::defaultRoot() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/thumbnails");
}

int ThumbnailCache::edge(Flavor flavor) {
    return flavor == Flavor::Normal ? 128 : 256;
}

ThumbnailCache::Flavor ThumbnailCache::flavorFor(int edge) {
    return edge <= ThumbnailCache::edge(Flavor::Normal) ? Flavor::Normal : Flavor::Large;
}

QString ThumbnailCache::uriOf(const QString& path) {
    // GLib's file managers, whose names the cache is shared under, also encode these three.
    QByteArray uri = QUrl::fromLocalFile(path).toEncoded();
    uri.replace(';', "%3B").replace('[', "%5B").replace(']', "%5D");
    return QString::fromLatin1(uri);
}

QString ThumbnailCache::pathFor(const QString& uri, Flavor flavor) const {
    const QByteArray md5 = QCryptographicHash::hash(uri.toUtf8(), QCryptographicHash::Md5).toHex();
    return m_root + QLatin1Char('/') + folderName(flavor) + QLatin1Char('/') +
           QString::fromLatin1(md5) + QStringLiteral(".png");
}

bool ThumbnailCache::holds(const QString& path) const {
    return QDir::cleanPath(path).startsWith(m_root + QLatin1Char('/'));
}

QImage ThumbnailCache::readFresh(const QString& uri, qint64 mtime, qint64 size,
                                 Flavor flavor) const {
    QImageReader reader(pathFor(uri, flavor), "png");
    // A thumbnail is small; anything claiming more is not one of the cache's.
    const QSize stored = reader.size();
    if (!stored.isValid() || stored.width() > edge(flavor) || stored.height() > edge(flavor))
        return {};
    QImage image = reader.read();
    if (image.isNull() || image.text(kUriKey) != uri)
        return {};
    bool isNumber = false;
    if (image.text(kMTimeKey).toLongLong(&isNumber) != mtime || !isNumber)
        return {};
    const QString recordedSize = image.text(kSizeKey);
    if (!recordedSize.isEmpty() && recordedSize.toLongLong() != size)
        return {};
    return image;
}

bool ThumbnailCache::write(const QImage& image, const QString& uri, qint64 mtime, qint64 size,
                           QSize original, Flavor flavor) const {
    const QString path = pathFor(uri, flavor);
    if (image.isNull() || !makePrivateFolder(QFileInfo(path).path()))
        return false;
    QImage tagged = image;
    tagged.setText(kUriKey, uri);
    tagged.setText(kMTimeKey, QString::number(mtime));
    tagged.setText(kSizeKey, QString::number(size));
    if (original.isValid()) {
        tagged.setText(QStringLiteral("Thumb::Image::Width"), QString::number(original.width()));
        tagged.setText(QStringLiteral("Thumb::Image::Height"), QString::number(original.height()));
    }
    tagged.setText(QStringLiteral("Software"), QStringLiteral("Holdfin"));
    // Written beside the old one and renamed over it, so readers never see half a file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.setPermissions(kOwnerOnlyFile);
    QImageWriter writer(&file, "png");
    if (!writer.write(tagged)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace desktop
