#pragma once

#include "backend/desktop_settings.h"

namespace backend::x11 {

// The XSettings of Qt's default screen: the `_XSETTINGS_SETTINGS` property of the window
// owning `_XSETTINGS_S<screen>`, read from Qt's X connection at each call. Empty without a
// settings manager, on a platform other than xcb, or when the property breaks the format.
class X11DesktopSettings final : public DesktopSettings {
public:
    QVariantMap values() const override;
};

} // namespace backend::x11
