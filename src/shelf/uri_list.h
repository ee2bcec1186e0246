#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace shelf {

// Parses a text/uri-list body: lines ended by CRLF or LF, '#' comment lines and blank lines
// skipped. Bytes a URI may not carry raw (non-ASCII, controls, spaces) are percent-encoded,
// so every byte of a file name survives. Lines without a scheme are dropped; malformed input
// gives fewer URIs, never an error. The URIs stay text: parsing one costs more than
// everything else a drop does with it, so it happens where its load runs.
QList<QByteArray> parseUriList(const QByteArray& body);

// True for a URI of the file scheme (any case).
bool isFileUri(const QByteArray& uri);
// The last segment of a URI's path, percent-decoded (as UTF-8, lossy only for names that are
// not); empty when the path ends with a slash.
QString lastPathSegment(const QByteArray& uri);

} // namespace shelf
