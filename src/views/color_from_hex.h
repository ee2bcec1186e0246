#pragma once

#include <QColor>
#include <QString>

namespace views {

// The colour a hex string names: 8 digits are ARGB, 6 digits RGB, 3 digits short RGB (each
// digit doubled). Non-alphanumeric characters around the digits are ignored, an optional 0x
// prefix is read, and any other length gives opaque black. Never fails.
QColor colorFromHex(const QString& hex);

} // namespace views
