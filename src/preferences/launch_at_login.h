#pragma once

#include "preferences/autostart.h"

#include <QString>

namespace preferences {

// Enables or disables starting Holdfin at login. A failure is dropped: nothing is shown,
// written or retried, and the stored preference keeps the user's choice. GUI thread.
void updateLaunchAtLogin(preferences::Autostart& service, bool isEnabled);

// An XDG autostart entry: $XDG_CONFIG_HOME/autostart/<app id>.desktop, written
// atomically, starting the given binary.
class XdgAutostart final : public preferences::Autostart {
public:
    // `executable` empty: the binary of the running process.
    explicit XdgAutostart(QString appId = QStringLiteral("holdfin"), QString executable = {});

    bool enable() override;
    bool disable() override;
    // The entry exists and is not hidden, as a desktop's session settings hide one.
    bool isEnabled() const override;

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
