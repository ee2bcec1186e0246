#include "payload_url.h"

namespace views {

std::optional<QUrl> urlFromString(const QString& text) {
    const QUrl url(text, QUrl::StrictMode);
    if (text.isEmpty() || !url.isValid() || url.isRelative())
        return std::nullopt;
    return url;
}

} // namespace views
