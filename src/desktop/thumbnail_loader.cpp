#include "desktop/thumbnail_loader.h"

#include "core/hand_over.h"
#include "core/main_queue.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QMimeDatabase>
#include <QPointer>

#include <algorithm>

namespace desktop {

namespace {

// Pictures kept in memory, in kilobytes: some 200 large thumbnails.
constexpr qsizetype kMemoryCostKb = 48 * 1024;
// A picture older than this is checked against its file again when next asked for.
constexpr qint64 kRecheckMs = 2000;

QString keyOf(const QString& path, ThumbnailCache::Flavor flavor) {
    return path + (flavor == ThumbnailCache::Flavor::Normal ? QStringLiteral("\n128")
                                                            : QStringLiteral("\n256"));
}

qsizetype costOf(const QImage& image) {
    return std::max<qsizetype>(1, image.sizeInBytes() / 1024);
}

bool isImageFile(const QString& path) {
    // By name: the reader checks the bytes anyway, and a text file must not pass for an
    // image because some format reads it.
    static const QByteArrayList readable = QImageReader::supportedMimeTypes();
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension);
    if (readable.contains(type.name().toLatin1()))
        return true;
    for (const QString& parent : type.parentMimeTypes()) {
        if (readable.contains(parent.toLatin1()))
            return true;
    }
    return false;
}

// The image at `path` scaled to fit `edge`, decoded no larger than that where the format can.
QImage decodeScaled(const QString& path, int edge, QSize& original) {
    QImageReader reader(path);
    reader.setAutoTransform(true);
    original = reader.size();
    // Other readers that take a scaled size (PNG among them) decode the whole image first.
    static const QByteArrayList decodedSmaller = {"jpeg", "jpg", "svg", "svgz"};
    const qint64 bound = decodedSmaller.contains(reader.format().toLower())
                             ? ThumbnailLoader::kMaxPixels
                             : ThumbnailLoader::kMaxWholePixels;
    if (!original.isValid() || qint64(original.width()) * original.height() > bound)
        return {};
    if (original.width() > edge || original.height() > edge)
        reader.setScaledSize(original.scaled(edge, edge, Qt::KeepAspectRatio));
    QImage image = reader.read();
    // Readers that ignore the scaled size (or rotate after it) may hand back more than asked.
    if (!image.isNull() && (image.width() > edge || image.height() > edge))
        image = image.scaled(edge, edge, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

} // namespace

ThumbnailLoader::ThumbnailLoader(ThumbnailCache cache, core::MainQueue& mainQueue,
                                 QStringList privateFolders, QObject* parent)
    : Thumbnails(parent), m_cache(std::move(cache)), m_mainQueue(mainQueue),
      m_privateFolders(std::move(privateFolders)), m_memory(kMemoryCostKb) {
    for (QString& folder : m_privateFolders)
        folder = QDir::cleanPath(folder) + QLatin1Char('/');
    m_pool.setMaxThreadCount(kMaxThreads);
}

ThumbnailLoader::~ThumbnailLoader() {
    m_pool.waitForDone();
}

QImage ThumbnailLoader::thumbnail(const QString& path, int edge) {
    const ThumbnailCache::Flavor flavor = ThumbnailCache::flavorFor(edge);
    const QString key = keyOf(path, flavor);
    if (Entry* entry = m_memory.object(key)) {
        if (entry->checked.hasExpired(kRecheckMs) && !m_queued.contains(key)) {
            entry->checked.start(); // one check at a time
            enqueue({path, flavor, key, entry->mtime, false});
        }
        return entry->image;
    }
    if (!m_queued.contains(key))
        enqueue({path, flavor, key, -1, false});
    return {};
}

void ThumbnailLoader::enqueue(Job job) {
    const QString cleaned = QDir::cleanPath(job.path);
    job.isPrivate = m_cache.holds(cleaned) ||
                    std::any_of(m_privateFolders.cbegin(), m_privateFolders.cend(),
                                [&](const QString& folder) { return cleaned.startsWith(folder); });
    if (qsizetype(m_waiting.size()) >= kMaxWaiting) {
        m_queued.remove(m_waiting.front().key);
        m_waiting.pop_front();
    }
    m_queued.insert(job.key);
    m_waiting.push_back(std::move(job));
    startJobs();
}

void ThumbnailLoader::startJobs() {
    while (m_running < kMaxThreads && !m_waiting.empty()) {
        // Newest first: the tiles that asked last are the ones in view.
        Job job = std::move(m_waiting.back());
        m_waiting.pop_back();
        ++m_running;
        // An answer that comes after the loader has gone is dropped.
        core::startOnPool(m_pool, [self = QPointer<ThumbnailLoader>(this), cache = m_cache,
                                   &decoded = m_decodedCount, &mainQueue = m_mainQueue,
                                   job = std::move(job)]() mutable {
            Result result = look(cache, job, decoded);
            mainQueue.async(
                [self = std::move(self), job = std::move(job), result = std::move(result)] {
                    if (self)
                        self->finished(job, result);
                });
        });
    }
}

void ThumbnailLoader::finished(const Job& job, const Result& result) {
    --m_running;
    m_queued.remove(job.key);
    Entry* entry = m_memory.object(job.key);
    if (entry && result.isUnchanged) {
        entry->checked.start();
    } else {
        const bool hadPicture = entry && !entry->image.isNull();
        auto* fresh = new Entry{result.image, result.mtime, {}};
        fresh->checked.start();
        m_memory.insert(job.key, fresh, costOf(result.image));
        if (hadPicture || !result.image.isNull())
            emit thumbnailChanged(job.path);
    }
    startJobs();
}

ThumbnailLoader::Result ThumbnailLoader::look(const ThumbnailCache& cache, const Job& job,
                                              std::atomic<int>& decoded) {
    const QFileInfo info(job.path);
    if (!info.isFile() || !info.isReadable())
        return {};
    Result result;
    result.mtime = info.lastModified().toSecsSinceEpoch();
    if (result.mtime == job.knownMTime) {
        result.isUnchanged = true;
        return result;
    }
    const qint64 size = info.size();
    const QString uri = ThumbnailCache::uriOf(info.absoluteFilePath());
    const int edge = ThumbnailCache::edge(job.flavor);
    if (!cache.holds(job.path)) {
        result.image = cache.readFresh(uri, result.mtime, size, job.flavor);
        // A larger picture serves a smaller wish; a smaller one only files that cannot be
        // decoded here.
        if (result.image.isNull() && job.flavor == ThumbnailCache::Flavor::Normal) {
            const QImage large =
                cache.readFresh(uri, result.mtime, size, ThumbnailCache::Flavor::Large);
            if (!large.isNull())
                result.image =
                    large.scaled(edge, edge, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        }
        if (!result.image.isNull())
            return result;
    }
    if (!isImageFile(job.path)) {
        if (job.flavor == ThumbnailCache::Flavor::Large)
            result.image = cache.readFresh(uri, result.mtime, size, ThumbnailCache::Flavor::Normal);
        return result;
    }
    QSize original;
    ++decoded;
    result.image = decodeScaled(job.path, edge, original);
    if (!result.image.isNull() && !job.isPrivate)
        cache.write(result.image, uri, result.mtime, size, original, job.flavor);
    return result;
}

} // namespace desktop
