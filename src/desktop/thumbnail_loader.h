#pragma once

#include "desktop/thumbnail_cache.h"
#include "desktop/thumbnails.h"

#include <QCache>
#include <QElapsedTimer>
#include <QSet>
#include <QStringList>
#include <QThreadPool>

#include <atomic>
#include <deque>

namespace core {
class MainQueue;
}

namespace desktop {

// Thumbnails from the shared cache, or made from image files by scaling them on threads of its
// own and written back to the cache so that other programs find them too. Images too large to
// decode within bounds, broken ones and files of other kinds get no picture. Memory stays
// bounded: pictures are kept in a cache of limited cost and at most kMaxWaiting looks wait for
// a thread (the oldest wish is dropped first: it is the least likely still on screen).
class ThumbnailLoader final : public Thumbnails {
    Q_OBJECT
public:
    static constexpr int kMaxThreads = 2;
    static constexpr qsizetype kMaxWaiting = 64;
    // Images whose header claims more pixels are refused unread: formats that decode straight
    // to a smaller size (JPEG, SVG) up to kMaxPixels, the others, decoded whole, up to
    // kMaxWholePixels (some 100 MB a thread).
    static constexpr qint64 kMaxPixels = 100'000'000;
    static constexpr qint64 kMaxWholePixels = 25'000'000;

    // Answers come back through `mainQueue`, which must outlive the loader. Files in
    // `privateFolders` (and in the cache itself) get pictures that are never written to the
    // cache: they are nobody else's business.
    ThumbnailLoader(ThumbnailCache cache, core::MainQueue& mainQueue,
                    QStringList privateFolders = {}, QObject* parent = nullptr);
    ~ThumbnailLoader() override;

    QImage thumbnail(const QString& path, int edge) override;

    // How many image files have been opened for decoding so far. Any thread.
    int decodedCount() const { return m_decodedCount.load(); }
    // Whether no look is waiting or under way.
    bool isIdle() const { return m_waiting.empty() && m_running == 0; }

    struct Job {
        QString path;
        ThumbnailCache::Flavor flavor;
        QString key;
        qint64 knownMTime; // of the picture at hand, -1 for none
        bool isPrivate;
    };
    struct Result {
        QImage image;
        qint64 mtime = -1;        // of the file looked at, -1 when it is not a readable file
        bool isUnchanged = false; // the file is as it was: the picture at hand stands
    };
    // Finds or makes the picture of `job.path`. Any thread.
    static Result look(const ThumbnailCache& cache, const Job& job, std::atomic<int>& decoded);

private:
    struct Entry {
        QImage image;
        qint64 mtime;
        QElapsedTimer checked;
    };

    void enqueue(Job job);
    void startJobs();
    void finished(const Job& job, const Result& result);

    ThumbnailCache m_cache;
    core::MainQueue& m_mainQueue;
    QStringList m_privateFolders;
    QCache<QString, Entry> m_memory;
    std::deque<Job> m_waiting;
    QSet<QString> m_queued; // keys waiting or under way
    int m_running = 0;
    std::atomic<int> m_decodedCount{0};
    // Last: it is gone, its jobs finished, before what they use. It never holds more jobs than
    // it runs: the others wait in m_waiting.
    QThreadPool m_pool;
};

} // namespace desktop
