#pragma once

#include "preferences/login_item_service.h"

#include <QString>

namespace preferences {

// Registers Holdfin as a login item or removes it. A failure is dropped: nothing is shown,
// written or retried, and the stored preference keeps the user's choice. GUI thread.
void updateLaunchAtLogin(preferences::LoginItemService& service, bool isEnabled);

// Login item as an XDG autostart entry: $XDG_CONFIG_HOME/autostart/<app id>.desktop, written
// atomically, starting the given binary.
class XdgAutostartLoginItem final : public preferences::LoginItemService {
public:
    // `executable` empty: the binary of the running process.
    explicit XdgAutostartLoginItem(QString appId = QStringLiteral("holdfin"),
                                   QString executable = {});

    bool registerLoginItem() override;
    bool unregisterLoginItem() override;
    // The entry exists and is not hidden, as a desktop's session settings hide one.
    bool isRegistered() const override;

    // Where the entry goes, under the current XDG_CONFIG_HOME (or ~/.config).
    QString entryPath() const;
    // The entry's text for `executable`; empty when the path cannot be written in an entry
    // (control characters).
    static QString desktopEntry(const QString& executable);

private:
    QString executable() const;

    QString m_appId;
    QString m_executable;
};

} // namespace preferences
