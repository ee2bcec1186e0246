#pragma once

#include <QByteArray>

class QUrl;

namespace core {

// The path of a local file URL as the bytes the file system knows it by (names need not be
// UTF-8, so no QString round trip); empty for anything else, a remote host or a NUL byte
// included. Any thread.
QByteArray localPathBytes(const QUrl& url);

} // namespace core
