#include "panel/shelf_shortcut.h"

#include "backend/global_shortcuts.h"
#include "desktop/settings.h"
#include "desktop/settings_keys.h"
#include "panel/drag_monitor.h"
#include "shelf/logging.h"

#include <QKeySequence>

namespace panel {

namespace keys = desktop::settings_keys;

ShelfShortcut::ShelfShortcut(backend::GlobalShortcuts& shortcuts, desktop::Settings& settings,
                             DragMonitor& dragMonitor, QObject* parent)
    : QObject(parent), m_shortcuts(shortcuts), m_settings(settings), m_dragMonitor(dragMonitor) {
    connect(&m_settings, &desktop::Settings::valueChanged, this, [this](const QString& key) {
        if (key == keys::showShelfShortcut)
            followPreference();
    });
    connect(&m_shortcuts, &backend::GlobalShortcuts::activated, this,
            [this](QKeyCombination pressed) {
                if (m_grabbed && *m_grabbed == pressed)
                    m_dragMonitor.toggleShelf();
            });
    followPreference();
}

ShelfShortcut::~ShelfShortcut() {
    if (m_grabbed)
        m_shortcuts.release(*m_grabbed);
}

std::optional<QKeyCombination> ShelfShortcut::parse(const QString& stored) {
    const QKeySequence sequence = QKeySequence::fromString(stored, QKeySequence::PortableText);
    if (sequence.isEmpty() || sequence[0].key() == Qt::Key_unknown)
        return std::nullopt;
    return sequence[0];
}

void ShelfShortcut::followPreference() {
    const auto wanted = parse(m_settings.stringValue(keys::showShelfShortcut).value_or(QString()));
    if (wanted == m_grabbed)
        return;
    if (m_grabbed)
        m_shortcuts.release(*m_grabbed);
    m_grabbed.reset();
    if (!wanted)
        return;
    if (m_shortcuts.grab(*wanted)) {
        m_grabbed = wanted;
        return;
    }
    qCWarning(shelf::lcShelf, "cannot use %s to show the shelf: another program holds it",
              qUtf8Printable(QKeySequence(*wanted).toString(QKeySequence::PortableText)));
}

} // namespace panel
