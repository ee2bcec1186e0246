#pragma once

#include <QByteArrayView>
#include <QVariantMap>

#include <optional>

namespace backend::x11 {

// The settings in an `_XSETTINGS_SETTINGS` property value (the freedesktop XSETTINGS format,
// either byte order): name to int, QString (UTF-8) or QColor. Nothing when the buffer breaks
// the format anywhere (truncated, an unknown type, counts beyond its end): a manager that
// wrote garbage published nothing usable. A later record of a name replaces an earlier one.
std::optional<QVariantMap> parseXSettings(QByteArrayView data);

} // namespace backend::x11
