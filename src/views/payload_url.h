#pragma once

#include <QString>
#include <QUrl>

#include <optional>

namespace views {

// `text` as an absolute URL, or nothing when it is not one (relative references, spaces,
// control characters and malformed percent escapes are not URLs).
std::optional<QUrl> urlFromString(const QString& text);

} // namespace views
