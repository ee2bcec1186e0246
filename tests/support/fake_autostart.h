#pragma once

#include "preferences/autostart.h"

#include <QStringList>

namespace testing_support {

// Records "register" / "unregister" requests and answers them with `isSucceeding`; a
// request that succeeds makes or removes the registration.
class FakeAutostart final : public preferences::Autostart {
public:
    bool enable() override {
        m_requests << QStringLiteral("register");
        m_isRegistered = m_isRegistered || m_isSucceeding;
        return m_isSucceeding;
    }
    bool disable() override {
        m_requests << QStringLiteral("unregister");
        m_isRegistered = m_isRegistered && !m_isSucceeding;
        return m_isSucceeding;
    }
    bool isEnabled() const override { return m_isRegistered; }
    // The registration made or removed by someone else.
    void setRegistered(bool isRegistered) { m_isRegistered = isRegistered; }

    void setSucceeding(bool isSucceeding) { m_isSucceeding = isSucceeding; }
    QStringList requests() const { return m_requests; }

private:
    bool m_isSucceeding = true;
    bool m_isRegistered = false;
    QStringList m_requests;
};

} // namespace testing_support
