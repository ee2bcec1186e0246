#include "desktop/color_scheme_service.h"

#include "desktop/desktop_color_scheme.h"

#include <QApplication>

namespace desktop {

ColorSchemeService::ColorSchemeService(DesktopColorScheme* desktop, QObject* parent)
    : QObject(parent), m_desktop(desktop),
      m_desktopPalette(qApp ? QGuiApplication::palette() : lightPalette()),
      m_colorScheme(desktopScheme()) {
    if (m_desktop)
        connect(m_desktop, &DesktopColorScheme::preferenceChanged, this,
                &ColorSchemeService::update);
    update();
}

void ColorSchemeService::setAppearance(Appearance appearance) {
    m_appearance = appearance;
    update();
}

ColorScheme ColorSchemeService::desktopScheme() const {
    if (m_desktop) {
        if (auto preference = m_desktop->preference())
            return *preference;
    }
    return schemeOf(m_desktopPalette);
}

void ColorSchemeService::update() {
    ColorScheme scheme = desktopScheme();
    if (m_appearance == Appearance::Light)
        scheme = ColorScheme::Light;
    else if (m_appearance == Appearance::Dark)
        scheme = ColorScheme::Dark;

    if (qApp) {
        // The desktop's own palette wins whenever it already has the wanted darkness; an
        // empty palette makes Qt fall back to the platform theme's.
        if (scheme == schemeOf(m_desktopPalette))
            QApplication::setPalette(QPalette());
        else
            QApplication::setPalette(scheme == ColorScheme::Dark ? darkPalette() : lightPalette());
    }

    if (scheme == m_colorScheme)
        return;
    m_colorScheme = scheme;
    emit colorSchemeChanged(scheme);
}

ColorScheme ColorSchemeService::schemeOf(const QPalette& palette) {
    return palette.color(QPalette::Active, QPalette::Window).lightness() < 128 ? ColorScheme::Dark
                                                                               : ColorScheme::Light;
}

QPalette ColorSchemeService::lightPalette() {
    QPalette palette(QColor(0xef, 0xef, 0xef));
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::AlternateBase, QColor(0xf7, 0xf7, 0xf7));
    palette.setColor(QPalette::Text, Qt::black);
    palette.setColor(QPalette::WindowText, Qt::black);
    palette.setColor(QPalette::ButtonText, Qt::black);
    palette.setColor(QPalette::Highlight, QColor(0x30, 0x8c, 0xc6));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::ToolTipBase, QColor(0xff, 0xff, 0xdc));
    palette.setColor(QPalette::ToolTipText, Qt::black);
    palette.setColor(QPalette::PlaceholderText, QColor(0x80, 0x80, 0x80));
    return palette;
}

QPalette ColorSchemeService::darkPalette() {
    const QColor window(0x35, 0x35, 0x35);
    const QColor text(0xea, 0xea, 0xea);
    const QColor disabledText(0x7f, 0x7f, 0x7f);
    QPalette palette(text, window, window.lighter(150), window.darker(200), window.darker(150),
                     text, Qt::white, QColor(0x2a, 0x2a, 0x2a), window);
    palette.setColor(QPalette::AlternateBase, QColor(0x42, 0x42, 0x42));
    palette.setColor(QPalette::Button, window);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Highlight, QColor(0x2a, 0x82, 0xda));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, QColor(0x5a, 0xb0, 0xff));
    palette.setColor(QPalette::ToolTipBase, window);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::PlaceholderText, disabledText);
    for (auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, disabledText);
    return palette;
}

} // namespace desktop
