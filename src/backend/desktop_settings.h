#pragma once

#include <QVariantMap>

namespace backend {

// The toolkit settings a desktop publishes to every application (theme and icon theme names,
// fonts, timings), by their XSettings names such as "Net/IconThemeName". GUI thread only.
class DesktopSettings {
public:
    virtual ~DesktopSettings() = default;

    // Every published setting: a QString, an int or a QColor. Empty when the desktop publishes
    // none or they cannot be read. Read anew at each call.
    virtual QVariantMap values() const = 0;
};

} // namespace backend
