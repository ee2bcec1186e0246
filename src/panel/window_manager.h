#pragma once

#include <QObject>
#include <QRectF>
#include <QString>

#include <memory>

namespace backend {
class Screens;
class WindowSystem;
} // namespace backend

namespace panel {

class NonActivatingPanel;

// Owns the shelf panel: builds it once, 160 by 310 at the left edge of the primary screen's
// visible frame, centred vertically, and puts it on and off screen when asked. Moves it only
// when the screens change (one added or removed, a new primary, a changed work area): back to
// that place, at once when its screen is gone or it lies off every screen, else at its next
// showing. GUI thread only.
class WindowManager final : public QObject {
    Q_OBJECT
public:
    static constexpr double panelWidth = 160.0;
    static constexpr double panelHeight = 310.0;

    // Builds the panel on the primary screen of `screens` and shows it. `windowSystem` gives
    // the panel its window-manager hints; null where there is none (Qt's offscreen platform).
    // Both must outlive the manager.
    WindowManager(backend::Screens& screens, backend::WindowSystem* windowSystem,
                  QObject* parent = nullptr);
    ~WindowManager() override;

    NonActivatingPanel* window() const { return m_window.get(); }
    // Top edge of the panel, unrounded.
    double panelY() const { return m_panelY; }

    // Shows the panel in front without activating Holdfin; nothing if it is visible.
    void showPanel();
    // Hides the panel; nothing if it is hidden. A hidden panel has no focus to keep.
    void hidePanel();
    // Keeps the panel above a full-screen window while a drag is on and the panel is in sight
    // (see WindowSystem).
    void setDragInProgress(bool isInProgress);
    // Shows the panel and gives it the keyboard focus, for a shelf the user asked to see.
    void showPanelWithFocus();
    // Makes the panel refuse the focus again, handing activation back to another window.
    void releasePanelFocus();
    // Whether the panel must stay in place while a drag out of it runs (see WindowSystem).
    bool keepsPanelDuringDragOut() const;

    // The panel's frame on a screen with `visibleFrame`; the zero rectangle stands for none.
    static QRectF panelFrame(const QRect& visibleFrame);

private:
    void placeOnPrimary();
    void onScreensChanged();
    void setLifted(bool isLifted);

    backend::Screens& m_screens;
    backend::WindowSystem* m_windowSystem;
    double m_panelY = 0;
    QString m_screenName;            // where the panel was placed; empty when there was no screen
    bool m_isPlacementStale = false; // the screens changed while the panel was in sight
    bool m_isDragInProgress = false;
    bool m_isLifted = false;
    std::unique_ptr<NonActivatingPanel> m_window;
};

} // namespace panel
