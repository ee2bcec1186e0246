#pragma once

#include "desktop/application.h"

#include <QStringList>

#include <functional>

namespace testing_support {

// Records every call as one line ("policy Accessory", "appearance Dark", "activate",
// "deactivate", "terminate"), in order.
class FakeApplication final : public desktop::Application {
public:
    void setActivationPolicy(desktop::ActivationPolicy policy) override;
    desktop::ActivationPolicy activationPolicy() const override { return m_policy; }
    void activate() override { record(QStringLiteral("activate")); }
    void deactivate() override { record(QStringLiteral("deactivate")); }
    void terminate() override { record(QStringLiteral("terminate")); }
    void setAppearance(desktop::Appearance appearance) override;

    const QStringList& calls() const { return m_calls; }
    void clearCalls() { m_calls.clear(); }
    desktop::Appearance appearance() const { return m_appearance; }
    // Runs after each recorded call with its line.
    std::function<void(const QString&)> onCall;

private:
    void record(const QString& line);

    QStringList m_calls;
    desktop::ActivationPolicy m_policy = desktop::ActivationPolicy::Regular;
    desktop::Appearance m_appearance = desktop::Appearance::System;
};

} // namespace testing_support
