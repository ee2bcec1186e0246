#include "shelf/shelf_store.h"

#include "shelf/shelf_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>

#include <sys/stat.h>
#include <unistd.h>

namespace shelf {

namespace {
const QString kFileName = QStringLiteral("shelf.json");
const QString kImageFolder = QStringLiteral("images");
} // namespace

ShelfStore::ShelfStore(const QString& directory, const QString& imageCacheDirectory)
    : m_directory(QDir(directory).absolutePath()),
      m_imageCacheDirectory(
          imageCacheDirectory.isEmpty() ? QString() : QDir(imageCacheDirectory).absolutePath()) {}

QString ShelfStore::defaultDirectory() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("holdfin"));
}

QString ShelfStore::filePath() const {
    return QDir(m_directory).filePath(kFileName);
}

QString ShelfStore::imageDirectory() const {
    return QDir(m_directory).filePath(kImageFolder);
}

ShelfStore::Loaded ShelfStore::load() {
    const QFileInfo info(filePath());
    if (!info.exists() && !info.isSymLink())
        return {};
    QString problem;
    QList<BucketItem> salvaged;
    if (!info.isFile()) {
        problem = QStringLiteral("not a regular file");
    } else if (info.size() > ShelfFile::kMaximumSize) {
        problem = QStringLiteral("larger than %1 bytes").arg(ShelfFile::kMaximumSize);
    } else {
        QFile file(filePath());
        if (!file.open(QIODevice::ReadOnly)) {
            problem = file.errorString();
        } else {
            // The file may have grown since it was measured: read no more than the limit.
            const QByteArray bytes = file.read(ShelfFile::kMaximumSize + 1);
            auto decoded = ShelfFile::decode(bytes);
            if (auto* items = std::get_if<QList<BucketItem>>(&decoded))
                return {std::move(*items), {}, {}};
            problem = std::get<QString>(decoded);
            salvaged = ShelfFile::salvage(bytes);
        }
    }
    const QString keptAs = keepAside();
    if (keptAs.isEmpty())
        problem += QStringLiteral("; it could not be kept aside either");
    return {std::move(salvaged), problem, keptAs};
}

QString ShelfStore::keepAside() const {
    // A rename never replaces: an earlier damaged file may hold what this one lost.
    for (int n = 1; n < 1000; ++n) {
        QString name = filePath() + QStringLiteral(".broken");
        if (n > 1)
            name += QLatin1Char('.') + QString::number(n);
        if (QFileInfo::exists(name) || QFileInfo(name).isSymLink())
            continue;
        return QFile::rename(filePath(), name) ? name : QString();
    }
    return {};
}

bool ShelfStore::save(const QList<BucketItem>& items, const QList<BucketItem>& retained) {
    if (items.isEmpty() && !QFileInfo::exists(filePath())) {
        removeImagesExcept(imagesReferredToBy(retained));
        return true;
    }
    if (!makePrivateDirectory(m_directory))
        return false;
    const QList<BucketItem> saved = persisted(items);
    QSaveFile file(filePath());
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    file.write(ShelfFile::encode(saved));
    if (!file.commit())
        return false;
    removeImagesExcept(imagesReferredToBy(saved) + imagesReferredToBy(retained));
    return true;
}

void ShelfStore::erase(const QList<BucketItem>& retained) {
    QFile::remove(filePath());
    removeImagesExcept(imagesReferredToBy(retained));
}

QString ShelfStore::fileIn(const QString& content, const QString& directory) {
    if (directory.isEmpty() || !content.startsWith(QLatin1String("file:")))
        return {};
    const QUrl url(content);
    if (!url.isLocalFile())
        return {};
    const QFileInfo file(url.toLocalFile());
    return file.absolutePath() == directory ? file.absoluteFilePath() : QString();
}

QList<BucketItem> ShelfStore::persisted(const QList<BucketItem>& items) {
    QList<BucketItem> saved = items;
    bool hasImageFolder = false;
    for (BucketItem& item : saved) {
        for (BucketItemData& payload : item.items) {
            const QString cached = fileIn(payload.content, m_imageCacheDirectory);
            if (cached.isEmpty())
                continue;
            if (!hasImageFolder && !(hasImageFolder = makePrivateDirectory(imageDirectory())))
                return saved;
            // Named after the payload, which keeps its id through splits and restarts.
            QString name = payload.id.toString(QUuid::WithoutBraces);
            if (const QString suffix = QFileInfo(cached).suffix(); !suffix.isEmpty())
                name += QLatin1Char('.') + suffix;
            const QString kept = QDir(imageDirectory()).filePath(name);
            const bool isKept = QFileInfo::exists(kept) ||
                                ::link(QFile::encodeName(cached).constData(),
                                       QFile::encodeName(kept).constData()) == 0 ||
                                QFile::copy(cached, kept);
            // An image gone from the cache (moved away by a drop) stays referred to as it was.
            if (isKept)
                payload.content = QString::fromLatin1(QUrl::fromLocalFile(kept).toEncoded());
        }
    }
    return saved;
}

QSet<QString> ShelfStore::imagesReferredToBy(const QList<BucketItem>& items) const {
    QSet<QString> names;
    const QString images = imageDirectory();
    for (const BucketItem& item : items) {
        for (const BucketItemData& payload : item.items) {
            const QString cached = fileIn(payload.content, m_imageCacheDirectory);
            if (!cached.isEmpty()) {
                // Its copy, once saved, is named after the payload.
                const QString id = payload.id.toString(QUuid::WithoutBraces);
                const QString suffix = QFileInfo(cached).suffix();
                names << (suffix.isEmpty() ? id : id + QLatin1Char('.') + suffix);
            } else if (const QString kept = fileIn(payload.content, images); !kept.isEmpty()) {
                names << QFileInfo(kept).fileName();
            }
        }
    }
    return names;
}

void ShelfStore::removeImagesExcept(const QSet<QString>& keep) const {
    QDir images(imageDirectory());
    if (!images.exists())
        return;
    // Only plain files and links of its own: nothing is followed out of the folder.
    const QFileInfoList entries =
        images.entryInfoList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        if ((entry.isSymLink() || !entry.isDir()) && !keep.contains(entry.fileName()))
            QFile::remove(entry.filePath());
    }
}

bool ShelfStore::makePrivateDirectory(const QString& path) const {
    if (QFileInfo(path).isDir())
        return true;
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    return ::mkdir(QFile::encodeName(path).constData(), 0700) == 0 || QFileInfo(path).isDir();
}

} // namespace shelf
