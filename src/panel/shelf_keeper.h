#pragma once

#include "shelf/bucket_item.h"

#include <QObject>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

namespace core {
class MainQueue;
}

namespace desktop {
class Settings;
}

namespace shelf {
class ShelfStore;
}

namespace panel {

class DragMonitor;

// Keeps the shelf between sessions while the keepShelf preference is on: restores it at
// start-up, saves it on the turn after every change and at quit, and deletes what was saved
// when the preference is turned off. Images of entries that an undo may bring back are kept
// until it no longer can. Lives on the GUI thread; the writing after a change may run on a
// background thread (a large shelf takes tens of milliseconds to write), one write at a time,
// and a write never overtakes a newer one.
class ShelfKeeper final : public QObject {
    Q_OBJECT
public:
    // Runs a write on another thread; empty: writes run on the GUI thread.
    using Background = std::function<void(std::function<void()>)>;

    // Everything must outlive the keeper; the keeper waits for its writes when destroyed.
    ShelfKeeper(DragMonitor& dragMonitor, shelf::ShelfStore& store, desktop::Settings& settings,
                core::MainQueue& mainQueue, Background background = {}, QObject* parent = nullptr);
    ~ShelfKeeper() override;

    bool isEnabled() const;

    // Puts the saved shelf on the drag monitor; while the preference is off, deletes what an
    // earlier session saved instead. Of a damaged file, the entries that can still be read are
    // restored, and one line on standard error and the answer (for the user) tell how many
    // and where the damaged file is kept; the answer is empty otherwise.
    QString restore();
    // Saves at once on this thread (or, while the preference is off, deletes the saved shelf);
    // for quitting and for changes of the preference.
    void saveNow();

private:
    struct Writer;
    void scheduleSave();
    void startWrite();
    // A write of the shelf as it is now, numbered after every earlier one.
    std::function<void()> writeOfNow();

    DragMonitor& m_dragMonitor;
    desktop::Settings& m_settings;
    core::MainQueue& m_mainQueue;
    Background m_background;
    std::shared_ptr<Writer> m_writer;
    std::uint64_t m_nextWrite = 1;
    bool m_isSavePending = false;
    bool m_isWriting = false;
};

} // namespace panel
