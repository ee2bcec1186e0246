#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace scripting {

// File names here are the bytes the file system has: a name that is not UTF-8 would not survive
// a trip through QString.

// `path` made absolute against `currentDirectory` and cleaned ("." and ".." segments and
// doubled or trailing slashes go) without asking the file system, as a shell user reads it.
QByteArray absolutePath(const QByteArray& path, const QByteArray& currentDirectory);
// The file URI of an absolute path, every byte outside the unreserved set percent-encoded.
QByteArray fileUriOf(const QByteArray& absolutePath);
// The path a file URI names; nothing for another URI or one with a host other than localhost.
std::optional<QByteArray> localPathOf(const QByteArray& uri);
// Whether something is there (a dangling link counts: a drop of it parks the link).
bool exists(const QByteArray& path);

} // namespace scripting
