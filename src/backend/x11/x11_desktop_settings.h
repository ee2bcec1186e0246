#pragma once

#include "backend/desktop_settings.h"

#include <QAbstractNativeEventFilter>

#include <cstdint>

struct xcb_connection_t;

namespace backend::x11 {

class X11Connection;

// The XSettings of Qt's default screen: the `_XSETTINGS_SETTINGS` property of the window
// owning `_XSETTINGS_S<screen>`, read from Qt's X connection at each call. Empty without a
// settings manager, on a platform other than xcb, or when the property breaks the format.
// Watches the property and the selection's owner from construction on.
class X11DesktopSettings final : public DesktopSettings, private QAbstractNativeEventFilter {
    Q_OBJECT
public:
    // Atoms come from `atoms`.
    explicit X11DesktopSettings(X11Connection& atoms);
    ~X11DesktopSettings() override;

    QVariantMap values() const override;

private:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    // Follows the property on the selection's current owner, if any.
    void watchOwner();

    X11Connection& m_atoms;
    xcb_connection_t* m_connection = nullptr;
    std::uint32_t m_selection = 0;
    std::uint32_t m_property = 0;
    std::uint32_t m_owner = 0;
    int m_xfixesFirstEvent = -1;
};

} // namespace backend::x11
