#include "scripting/file_uris.h"

#include "core/local_path.h"

#include <QByteArrayList>
#include <QUrl>

#include <sys/stat.h>

namespace scripting {

QByteArray absolutePath(const QByteArray& path, const QByteArray& currentDirectory) {
    const QByteArray full = path.startsWith('/') ? path : currentDirectory + '/' + path;
    QByteArrayList segments;
    for (const QByteArray& segment : full.split('/')) {
        if (segment.isEmpty() || segment == ".")
            continue;
        if (segment == "..") {
            if (!segments.isEmpty())
                segments.removeLast();
            continue;
        }
        segments << segment;
    }
    return '/' + segments.join('/');
}

QByteArray fileUriOf(const QByteArray& absolutePath) {
    return "file://" + absolutePath.toPercentEncoding("/");
}

std::optional<QByteArray> localPathOf(const QByteArray& uri) {
    const QUrl url = QUrl::fromEncoded(uri);
    QByteArray path = url.isValid() ? core::localPathBytes(url) : QByteArray();
    return path.isEmpty() ? std::nullopt : std::optional<QByteArray>(std::move(path));
}

bool exists(const QByteArray& path) {
    struct stat status {};
    return ::lstat(path.constData(), &status) == 0;
}

} // namespace scripting
