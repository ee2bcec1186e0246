#pragma once

#include "preferences/autostart.h"

#include <QStringList>

namespace testing_support {

// Records "enable" / "disable" requests and answers them with `isSucceeding`; a
// request that succeeds makes or removes the entry.
class FakeAutostart final : public preferences::Autostart {
public:
    bool enable() override {
        m_requests << QStringLiteral("enable");
        m_isEnabled = m_isEnabled || m_isSucceeding;
        return m_isSucceeding;
    }
    bool disable() override {
        m_requests << QStringLiteral("disable");
        m_isEnabled = m_isEnabled && !m_isSucceeding;
        return m_isSucceeding;
    }
    bool isEnabled() const override { return m_isEnabled; }
    // The entry made or removed by someone else.
    void setEnabledElsewhere(bool isEnabled) { m_isEnabled = isEnabled; }

    void setSucceeding(bool isSucceeding) { m_isSucceeding = isSucceeding; }
    QStringList requests() const { return m_requests; }

private:
    bool m_isSucceeding = true;
    bool m_isEnabled = false;
    QStringList m_requests;
};

} // namespace testing_support
