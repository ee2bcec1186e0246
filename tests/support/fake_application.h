#pragma once

#include "platform/application.h"

#include <QStringList>

namespace testing_support {

// Records every call in order ("activate", "setActivationPolicy Regular", ...) and keeps the
// policy and appearance it was given.
class FakeApplication final : public platform::Application {
public:
    void setActivationPolicy(platform::ActivationPolicy policy) override;
    platform::ActivationPolicy activationPolicy() const override { return m_policy; }
    void activate() override { m_calls << QStringLiteral("activate"); }
    void deactivate() override { m_calls << QStringLiteral("deactivate"); }
    void terminate() override { m_calls << QStringLiteral("terminate"); }
    void setAppearance(platform::Appearance appearance) override;

    platform::Appearance appearance() const { return m_appearance; }
    QStringList calls() const { return m_calls; }
    void clearCalls() { m_calls.clear(); }

private:
    platform::ActivationPolicy m_policy = platform::ActivationPolicy::Regular;
    platform::Appearance m_appearance = platform::Appearance::System;
    QStringList m_calls;
};

} // namespace testing_support
