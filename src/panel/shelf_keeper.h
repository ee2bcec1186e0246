#pragma once

#include "shelf/bucket_item.h"

#include <QObject>

#include <chrono>

namespace core {
class MainQueue;
}

namespace desktop {
class UserDefaults;
}

namespace shelf {
class ShelfStore;
}

namespace panel {

class DragMonitor;

// Keeps the shelf between sessions while the keepShelf preference is on: restores it at
// start-up, saves it a short while after every change and at quit, and deletes what was saved
// when the preference is turned off. Images of entries that an undo may bring back are kept
// until it no longer can. GUI thread only.
class ShelfKeeper final : public QObject {
    Q_OBJECT
public:
    // How long after a change the shelf is saved; changes meanwhile go into the same save.
    static constexpr std::chrono::milliseconds kSaveDelay{500};

    // Everything must outlive the keeper.
    ShelfKeeper(DragMonitor& dragMonitor, shelf::ShelfStore& store, desktop::UserDefaults& defaults,
                core::MainQueue& mainQueue, QObject* parent = nullptr);

    bool isEnabled() const;

    // Puts the saved shelf on the drag monitor; while the preference is off, deletes what an
    // earlier session saved instead. A damaged file is reported by one line on standard error.
    void restore();
    // Saves at once (or, while the preference is off, deletes the saved shelf); for quitting.
    void saveNow();

private:
    void scheduleSave();

    DragMonitor& m_dragMonitor;
    shelf::ShelfStore& m_store;
    desktop::UserDefaults& m_defaults;
    core::MainQueue& m_mainQueue;
    bool m_isSavePending = false;
};

} // namespace panel
