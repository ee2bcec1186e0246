#pragma once

#include "preferences/login_item_service.h"

#include <QStringList>

namespace testing_support {

// Records "register" / "unregister" requests and answers them with `isSucceeding`.
class FakeLoginItemService final : public preferences::LoginItemService {
public:
    bool registerLoginItem() override {
        m_requests << QStringLiteral("register");
        return m_isSucceeding;
    }
    bool unregisterLoginItem() override {
        m_requests << QStringLiteral("unregister");
        return m_isSucceeding;
    }

    void setSucceeding(bool isSucceeding) { m_isSucceeding = isSucceeding; }
    QStringList requests() const { return m_requests; }

private:
    bool m_isSucceeding = true;
    QStringList m_requests;
};

} // namespace testing_support
