#pragma once

#include <QKeyCombination>
#include <QObject>

#include <optional>

namespace backend {
class GlobalShortcuts;
}

namespace desktop {
class Settings;
}

namespace panel {

class DragMonitor;

// The global shortcut that shows or hides the shelf: the showShelfShortcut preference, taken
// system wide while it is set and given back as soon as it is cleared or changed. GUI thread.
class ShelfShortcut final : public QObject {
    Q_OBJECT
public:
    // Takes the stored shortcut at once. Everything must outlive this object.
    ShelfShortcut(backend::GlobalShortcuts& shortcuts, desktop::Settings& settings,
                  DragMonitor& dragMonitor, QObject* parent = nullptr);
    ~ShelfShortcut() override;

    // The combination taken now; nothing when none is set or it could not be taken.
    std::optional<QKeyCombination> grabbed() const { return m_grabbed; }

    // The first combination of a stored shortcut; nothing for none or an unreadable one.
    static std::optional<QKeyCombination> parse(const QString& stored);

private:
    void followPreference();

    backend::GlobalShortcuts& m_shortcuts;
    desktop::Settings& m_settings;
    DragMonitor& m_dragMonitor;
    std::optional<QKeyCombination> m_grabbed;
};

} // namespace panel
