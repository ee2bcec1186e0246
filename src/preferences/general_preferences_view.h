#pragma once

#include "app_delegate_hooks.h"

#include <QKeySequence>
#include <QStringList>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QKeySequenceEdit;

namespace desktop {
class Settings;
}

namespace preferences {

// The "General" tab: launch at login, the tray icon, the appearance and keeping the shelf, each
// bound to its settings key and following every write of it. GUI thread.
class GeneralPreferencesView final : public QWidget {
    Q_OBJECT
public:
    GeneralPreferencesView(desktop::Settings& settings, AppDelegateHooks delegate,
                           QWidget* parent = nullptr);

    // The stored choice; each showing of the view first makes it what the system has.
    bool launchAtLogin() const;
    bool showMenuBarIcon() const;
    QString selectedAppearance() const;
    bool keepShelf() const;
    // The stored shortcut that shows the shelf; empty for none.
    QKeySequence showShelfShortcut() const;

    // Stores the choice, then, while the delegate is registered, updates the autostart entry.
    void setLaunchAtLogin(bool isEnabled);
    // Only stores the choice; the tray item follows the key itself.
    void setShowMenuBarIcon(bool isShown);
    // Stores the choice, then, while the delegate is registered, applies the appearance.
    void setSelectedAppearance(const QString& appearance);
    // Only stores the choice; the shelf keeper follows the key itself.
    void setKeepShelf(bool isKept);
    // Stores the first combination of `shortcut`, or removes the key for an empty one; the
    // shortcut follows the key itself.
    void setShowShelfShortcut(const QKeySequence& shortcut);

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool isDelegateRegistered() const;
    void showStoredValue(const QString& key);

    desktop::Settings& m_settings;
    AppDelegateHooks m_delegate;
    QCheckBox* m_launchAtLoginToggle;
    QCheckBox* m_showMenuBarIconToggle;
    QComboBox* m_appearancePicker;
    QCheckBox* m_keepShelfToggle;
    QKeySequenceEdit* m_showShelfShortcutEdit;
};

} // namespace preferences
