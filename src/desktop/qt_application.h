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
// panel, nor popups) follow the taskbar listing: skipped by the taskbar while not listed,
// listed otherwise, including windows shown later. Tooltips let the pointer, and drags, pass.
class QtApplication final : public QObject, public Application {
    Q_OBJECT
public:
    // `windowSystem` may be null (no window-manager hints then).
    QtApplication(ColorSchemeService& colorSchemes, backend::WindowSystem* windowSystem,
                  QObject* parent = nullptr);
    ~QtApplication() override;

    void setListedInTaskbar(bool listed) override;
    bool isListedInTaskbar() const override { return m_isListed; }
    void activate() override;
    void deactivate() override;
    void terminate() override;
    void setAppearance(Appearance appearance) override;

    // Whether the taskbar listing governs `window` (a visible or hidden top-level window).
    static bool followsTaskbarListing(const QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyTaskbarListing(QWidget* window) const;

    ColorSchemeService& m_colorSchemes;
    backend::WindowSystem* m_windowSystem;
    bool m_isListed = true;
};

} // namespace desktop
