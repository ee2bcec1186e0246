#include "fake_application.h"

namespace testing_support {

void FakeApplication::setActivationPolicy(platform::ActivationPolicy policy) {
    m_policy = policy;
    m_calls << (policy == platform::ActivationPolicy::Regular
                    ? QStringLiteral("setActivationPolicy Regular")
                    : QStringLiteral("setActivationPolicy Accessory"));
}

void FakeApplication::setAppearance(platform::Appearance appearance) {
    m_appearance = appearance;
    static const char* const names[] = {"Light", "Dark", "System"};
    m_calls << QStringLiteral("setAppearance %1")
                   .arg(QLatin1String(names[static_cast<int>(appearance)]));
}

} // namespace testing_support
