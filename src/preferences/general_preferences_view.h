#pragma once

#include "app_delegate_hooks.h"

#include <QStringList>
#include <QWidget>

class QCheckBox;
class QComboBox;

namespace desktop {
class UserDefaults;
}

namespace preferences {

// The "General" tab: launch at login, the tray icon and the appearance, each bound to its
// user-defaults key and following every write of it. GUI thread.
class GeneralPreferencesView final : public QWidget {
    Q_OBJECT
public:
    GeneralPreferencesView(desktop::UserDefaults& userDefaults, AppDelegateHooks delegate,
                           QWidget* parent = nullptr);

    // The picker's rows, in order.
    static QStringList appearances();

    bool launchAtLogin() const;
    bool showMenuBarIcon() const;
    QString selectedAppearance() const;

    // Stores the choice, then, while the delegate is registered, updates the login item.
    void setLaunchAtLogin(bool isEnabled);
    // Only stores the choice; the tray item follows the key itself.
    void setShowMenuBarIcon(bool isShown);
    // Stores the choice, then, while the delegate is registered, applies the appearance.
    void setSelectedAppearance(const QString& appearance);

private:
    bool isDelegateRegistered() const;
    void showStoredValue(const QString& key);

    desktop::UserDefaults& m_userDefaults;
    AppDelegateHooks m_delegate;
    QCheckBox* m_launchAtLoginToggle;
    QCheckBox* m_showMenuBarIconToggle;
    QComboBox* m_appearancePicker;
};

} // namespace preferences
