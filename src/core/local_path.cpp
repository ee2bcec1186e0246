#include "core/local_path.h"

#include <QUrl>

namespace core {

QByteArray localPathBytes(const QUrl& url) {
    if (!url.isLocalFile())
        return {};
    const QString host = url.host();
    if (!host.isEmpty() && host != QLatin1String("localhost"))
        return {};
    QByteArray path = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    return path.contains('\0') ? QByteArray() : path;
}

} // namespace core
