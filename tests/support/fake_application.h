#pragma once

#include "platform/application.h"

#include <QStringList>

#include <functional>

namespace testing_support {

// Records every call as one line ("policy Accessory", "appearance Dark", "activate",
// "deactivate", "terminate"), in order.
class FakeApplication final : public platform::Application {
public:
    void setActivationPolicy(platform::ActivationPolicy policy) override;
    platform::ActivationPolicy activationPolicy() const override { return m_policy; }
    void activate() override { record(QStringLiteral("activate")); }
    void deactivate() override { record(QStringLiteral("deactivate")); }
    void terminate() override { record(QStringLiteral("terminate")); }
    void setAppearance(platform::Appearance appearance) override;

    const QStringList& calls() const { return m_calls; }
    void clearCalls() { m_calls.clear(); }
    platform::Appearance appearance() const { return m_appearance; }
    // Runs after each recorded call with its line.
    std::function<void(const QString&)> onCall;

private:
    void record(const QString& line);

    QStringList m_calls;
    platform::ActivationPolicy m_policy = platform::ActivationPolicy::Regular;
    platform::Appearance m_appearance = platform::Appearance::System;
};

} // namespace testing_support
