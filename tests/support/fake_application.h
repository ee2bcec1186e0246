#pragma once

#include "desktop/application.h"

#include <QStringList>

#include <functional>

namespace testing_support {

// Records every call as one line ("taskbar hidden", "appearance Dark", "activate",
// "deactivate", "terminate"), in order.
class FakeApplication final : public desktop::Application {
public:
    void setListedInTaskbar(bool listed) override;
    bool isListedInTaskbar() const override { return m_isListed; }
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
    bool m_isListed = true;
    desktop::Appearance m_appearance = desktop::Appearance::System;
};

} // namespace testing_support
