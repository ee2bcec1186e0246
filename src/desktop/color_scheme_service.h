#pragma once

#include "desktop/color_scheme.h"

#include <QObject>
#include <QPalette>

namespace desktop {

class DesktopColorScheme;

// The one place views read the effective colour scheme from. Applies the chosen appearance
// to the whole application's palette: Light and Dark force it, System follows the desktop's
// preference live. GUI thread only.
class ColorSchemeService final : public QObject {
    Q_OBJECT
public:
    // `desktop` may be null: following the desktop then judges Qt's own palette. Takes the
    // application palette of this moment as the desktop's palette.
    explicit ColorSchemeService(DesktopColorScheme* desktop, QObject* parent = nullptr);

    ColorScheme colorScheme() const { return m_colorScheme; }
    Appearance appearance() const { return m_appearance; }
    // Applies `appearance` at once; emits colorSchemeChanged if the effective scheme changes.
    void setAppearance(Appearance appearance);

    static QPalette lightPalette();
    static QPalette darkPalette();
    // Dark when the palette's window colour is closer to black than to white.
    static ColorScheme schemeOf(const QPalette& palette);

signals:
    void colorSchemeChanged(desktop::ColorScheme scheme);

private:
    void update();
    ColorScheme desktopScheme() const;

    DesktopColorScheme* m_desktop;
    QPalette m_desktopPalette;
    Appearance m_appearance = Appearance::System;
    ColorScheme m_colorScheme;
};

} // namespace desktop
