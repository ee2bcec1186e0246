#pragma once

#include "desktop/application.h"

#include <QObject>

class QWidget;

namespace backend {
class WindowSystem;
}

namespace desktop {

class ColorSchemeService;

// The running QApplication. Holdfin's ordinary windows (not tool windows such as the shelf
// panel, nor popups) follow the activation policy: skipped by the taskbar while accessory,
// listed while regular, including windows shown later.
class QtApplication final : public QObject, public Application {
    Q_OBJECT
public:
    // `windowSystem` may be null (no window-manager hints then).
    QtApplication(ColorSchemeService& colorSchemes, backend::WindowSystem* windowSystem,
                  QObject* parent = nullptr);
    ~QtApplication() override;

    void setActivationPolicy(ActivationPolicy policy) override;
    ActivationPolicy activationPolicy() const override { return m_policy; }
    void activate() override;
    void deactivate() override;
    void terminate() override;
    void setAppearance(Appearance appearance) override;

    // Whether the activation policy governs `window` (a visible or hidden top-level window).
    static bool followsPolicy(const QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyPolicy(QWidget* window) const;

    ColorSchemeService& m_colorSchemes;
    backend::WindowSystem* m_windowSystem;
    ActivationPolicy m_policy = ActivationPolicy::Regular;
};

} // namespace desktop
