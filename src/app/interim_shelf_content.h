#pragma once

#include <QWidget>

namespace panel {
class DragMonitor;
class WindowManager;
} // namespace panel

namespace platform {
class ColorSchemeService;
}

namespace app {

// Interim panel content until the shelf view exists: an empty rounded shelf background that
// reports the pointer over it and runs the panel's visibility rule (shown while a drag is
// under way, the shelf holds entries or the pointer is over it; hidden otherwise).
class InterimShelfContent final : public QWidget {
    Q_OBJECT
public:
    // `colorSchemes` may be null: light then.
    InterimShelfContent(panel::DragMonitor& dragMonitor, panel::WindowManager& windowManager,
                        platform::ColorSchemeService* colorSchemes, QWidget* parent = nullptr);

    void updatePanelVisibility();

protected:
    void showEvent(QShowEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    panel::DragMonitor& m_dragMonitor;
    panel::WindowManager& m_windowManager;
    platform::ColorSchemeService* m_colorSchemes;
    bool m_hasAppeared = false;
};

} // namespace app
