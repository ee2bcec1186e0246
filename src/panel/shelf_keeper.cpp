#include "panel/shelf_keeper.h"

#include "core/main_queue.h"
#include "desktop/settings.h"
#include "desktop/settings_keys.h"
#include "panel/drag_monitor.h"
#include "shelf/logging.h"
#include "shelf/shelf_store.h"

#include <QPointer>

#include <condition_variable>
#include <mutex>

namespace panel {

namespace keys = desktop::settings_keys;
using shelf::BucketItem;

// The store's one user: writes in turn, newest wins, and knows when none is under way.
struct ShelfKeeper::Writer {
    explicit Writer(shelf::ShelfStore& store) : store(store) {}

    // Saves `items` (or, when `isEnabled` is false, deletes the saved shelf), unless a newer
    // write than `number` has been made. Any thread.
    void write(std::uint64_t number, bool isEnabled, const QList<BucketItem>& items,
               const QList<BucketItem>& retained) {
        std::lock_guard lock(mutex);
        if (number <= written)
            return;
        written = number;
        // Entries on the shelf and those that may come back keep their images either way.
        if (!isEnabled) {
            store.erase(retained + items);
            return;
        }
        if (!store.save(items, retained))
            qCWarning(shelf::lcShelf, "could not save the shelf to %s",
                      qUtf8Printable(store.filePath()));
    }

    void started() {
        std::lock_guard lock(mutex);
        ++running;
    }
    void finished() {
        std::lock_guard lock(mutex);
        if (--running == 0)
            idle.notify_all();
    }
    void waitUntilIdle() {
        std::unique_lock lock(mutex);
        idle.wait(lock, [this] { return running == 0; });
    }

    shelf::ShelfStore& store;
    std::mutex mutex;
    std::condition_variable idle;
    std::uint64_t written = 0;
    int running = 0;
};

ShelfKeeper::ShelfKeeper(DragMonitor& dragMonitor, shelf::ShelfStore& store,
                         desktop::Settings& settings, core::MainQueue& mainQueue,
                         Background background, QObject* parent)
    : QObject(parent), m_dragMonitor(dragMonitor), m_settings(settings), m_mainQueue(mainQueue),
      m_background(std::move(background)), m_writer(std::make_shared<Writer>(store)) {
    connect(&m_dragMonitor, &DragMonitor::draggedItemsChanged, this, &ShelfKeeper::scheduleSave);
    connect(&m_dragMonitor.history(), &ShelfHistory::canUndoChanged, this,
            &ShelfKeeper::scheduleSave);
    connect(&m_settings, &desktop::Settings::valueChanged, this, [this](const QString& key) {
        if (key == keys::keepShelf)
            saveNow();
    });
}

ShelfKeeper::~ShelfKeeper() {
    // Queued writes use the store, which goes soon after the keeper.
    m_writer->waitUntilIdle();
}

bool ShelfKeeper::isEnabled() const {
    return m_settings.boolValue(keys::keepShelf, keys::keepShelfFallback);
}

QString ShelfKeeper::restore() {
    shelf::ShelfStore& store = m_writer->store;
    const std::lock_guard lock(m_writer->mutex);
    if (!isEnabled()) {
        store.erase();
        return {};
    }
    shelf::ShelfStore::Loaded loaded = store.load();
    QString notice;
    if (!loaded.problem.isEmpty()) {
        qCWarning(shelf::lcShelf,
                  "the saved shelf could not be read (%s); entries recovered: %lld; kept aside "
                  "as %s",
                  qUtf8Printable(loaded.problem), static_cast<long long>(loaded.items.size()),
                  qUtf8Printable(loaded.keptAs));
        notice = loaded.keptAs.isEmpty()
                     ? tr("The saved shelf was damaged. %n entry(s) could be recovered.", nullptr,
                          int(loaded.items.size()))
                     : tr("The saved shelf was damaged. %n entry(s) could be recovered; the "
                          "damaged file is kept as %1.",
                          nullptr, int(loaded.items.size()))
                           .arg(loaded.keptAs);
    }
    if (!loaded.items.isEmpty())
        m_dragMonitor.setDraggedItems(std::move(loaded.items));
    // What was just read needs no writing back, unless it came from a damaged file.
    m_isSavePending = false;
    if (!notice.isEmpty())
        scheduleSave();
    return notice;
}

void ShelfKeeper::saveNow() {
    m_isSavePending = false;
    writeOfNow()();
}

std::function<void()> ShelfKeeper::writeOfNow() {
    return [writer = m_writer, number = m_nextWrite++, isEnabled = isEnabled(),
            items = m_dragMonitor.draggedItems(), retained = m_dragMonitor.history().heldItems()] {
        writer->write(number, isEnabled, items, retained);
    };
}

void ShelfKeeper::scheduleSave() {
    if (m_isSavePending)
        return;
    m_isSavePending = true;
    // On the next turn rather than later: a change is safe only once it is on disk, and the
    // changes of one turn (a split, a clear) still make one write.
    m_mainQueue.post(this, [this] { startWrite(); });
}

void ShelfKeeper::startWrite() {
    // A write under way starts the next one when it ends, with every change made meanwhile.
    if (!m_isSavePending || m_isWriting)
        return;
    m_isSavePending = false;
    if (!m_background) {
        writeOfNow()();
        return;
    }
    m_isWriting = true;
    m_writer->started();
    m_background([write = writeOfNow(), writer = m_writer, self = QPointer<ShelfKeeper>(this),
                  queue = &m_mainQueue] {
        write();
        // Before finishing: once the keeper sees no write running, it and the queue may go.
        queue->async([self] {
            if (!self)
                return;
            self->m_isWriting = false;
            self->startWrite();
        });
        writer->finished();
    });
}

} // namespace panel
