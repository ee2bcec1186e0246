#include "fake_application.h"

namespace testing_support {

void FakeApplication::setActivationPolicy(platform::ActivationPolicy policy) {
    m_policy = policy;
    record(policy == platform::ActivationPolicy::Accessory ? QStringLiteral("policy Accessory")
                                                           : QStringLiteral("policy Regular"));
}

void FakeApplication::setAppearance(platform::Appearance appearance) {
    m_appearance = appearance;
    switch (appearance) {
    case platform::Appearance::Light:
        return record(QStringLiteral("appearance Light"));
    case platform::Appearance::Dark:
        return record(QStringLiteral("appearance Dark"));
    case platform::Appearance::System:
        return record(QStringLiteral("appearance System"));
    }
}

void FakeApplication::record(const QString& line) {
    m_calls << line;
    if (onCall)
        onCall(line);
}

} // namespace testing_support
