#pragma once

#include "preferences/login_item_service.h"

#include <QStringList>

namespace testing_support {

// Records "register" / "unregister" requests and answers them with `isSucceeding`; a
// request that succeeds makes or removes the registration.
class FakeLoginItemService final : public preferences::LoginItemService {
public:
    bool registerLoginItem() override {
        m_requests << QStringLiteral("register");
        m_isRegistered = m_isRegistered || m_isSucceeding;
        return m_isSucceeding;
    }
    bool unregisterLoginItem() override {
        m_requests << QStringLiteral("unregister");
        m_isRegistered = m_isRegistered && !m_isSucceeding;
        return m_isSucceeding;
    }
    bool isRegistered() const override { return m_isRegistered; }
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
