#include "panel/shelf_keeper.h"

#include "core/main_queue.h"
#include "desktop/defaults_keys.h"
#include "desktop/user_defaults.h"
#include "panel/drag_monitor.h"
#include "shelf/shelf_store.h"

#include <QPointer>

#include <cstdio>

namespace panel {

namespace keys = desktop::defaults_keys;

ShelfKeeper::ShelfKeeper(DragMonitor& dragMonitor, shelf::ShelfStore& store,
                         desktop::UserDefaults& defaults, core::MainQueue& mainQueue,
                         QObject* parent)
    : QObject(parent), m_dragMonitor(dragMonitor), m_store(store), m_defaults(defaults),
      m_mainQueue(mainQueue) {
    connect(&m_dragMonitor, &DragMonitor::draggedItemsChanged, this, &ShelfKeeper::scheduleSave);
    connect(&m_dragMonitor.history(), &ShelfHistory::canUndoChanged, this,
            &ShelfKeeper::scheduleSave);
    connect(&m_defaults, &desktop::UserDefaults::changed, this, [this](const QString& key) {
        if (key == keys::keepShelf)
            saveNow();
    });
}

bool ShelfKeeper::isEnabled() const {
    return m_defaults.boolForKey(keys::keepShelf, keys::keepShelfFallback);
}

void ShelfKeeper::restore() {
    if (!isEnabled()) {
        m_store.erase();
        return;
    }
    shelf::ShelfStore::Loaded loaded = m_store.load();
    if (!loaded.problem.isEmpty()) {
        std::fprintf(stderr, "holdfin: the saved shelf could not be read (%s); kept aside as %s\n",
                     qUtf8Printable(loaded.problem), qUtf8Printable(m_store.brokenPath()));
    }
    if (!loaded.items.isEmpty())
        m_dragMonitor.setDraggedItems(std::move(loaded.items));
    m_isSavePending = false; // what was just read needs no writing back
}

void ShelfKeeper::saveNow() {
    m_isSavePending = false;
    // Entries on the shelf and those that may come back keep their images either way.
    const QList<shelf::BucketItem> retained = m_dragMonitor.history().heldItems();
    if (!isEnabled()) {
        m_store.erase(retained + m_dragMonitor.draggedItems());
        return;
    }
    if (!m_store.save(m_dragMonitor.draggedItems(), retained))
        std::fprintf(stderr, "holdfin: could not save the shelf to %s\n",
                     qUtf8Printable(m_store.filePath()));
}

void ShelfKeeper::scheduleSave() {
    if (m_isSavePending)
        return;
    m_isSavePending = true;
    QPointer<ShelfKeeper> self(this);
    m_mainQueue.asyncAfter(kSaveDelay, [self] {
        if (self && self->m_isSavePending)
            self->saveNow();
    });
}

} // namespace panel
