#pragma once

#include <QByteArray>
#include <QList>
#include <QUrl>

namespace platform {

// Parses a text/uri-list body: lines ended by CRLF or LF, '#' comment lines and blank lines
// skipped. Bytes a URI may not carry raw (non-ASCII, controls, spaces) are percent-encoded
// first, so every byte of a file name survives. Lines that are not absolute URIs are dropped;
// malformed input gives fewer URLs, never an error.
QList<QUrl> parseUriList(const QByteArray& body);

} // namespace platform
