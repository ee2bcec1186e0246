#pragma once

#include "backend/window_system.h"

#include <QList>
#include <QPointer>
#include <QWindow>

namespace testing_support {

// Records the hints asked for.
class FakeWindowSystem final : public backend::WindowSystem {
public:
    struct PanelPreparation {
        QWindow* window;
        bool wasVisible; // whether the window was already on screen when prepared
    };

    void preparePanel(QWindow* window) override {
        m_preparations.append({window, window && window->isVisible()});
    }
    void setSkipTaskbar(QWindow* window, bool skip) override {
        m_skipTaskbar.append({window, skip});
    }
    void letInputPass(QWindow*) override {}
    void yieldActivation() override { ++m_yields; }
    void liftAboveFullScreen(QWindow*, bool) override {}
    bool keepsDragSourceInPlace() const override { return m_keepsDragSource; }
    void setKeepsDragSourceInPlace(bool keeps) { m_keepsDragSource = keeps; }

    const QList<PanelPreparation>& preparations() const { return m_preparations; }
    const QList<std::pair<QWindow*, bool>>& skipTaskbarCalls() const { return m_skipTaskbar; }
    int yields() const { return m_yields; }

private:
    QList<PanelPreparation> m_preparations;
    QList<std::pair<QWindow*, bool>> m_skipTaskbar;
    int m_yields = 0;
    bool m_keepsDragSource = false;
};

} // namespace testing_support
