#pragma once

#include "shelf/bucket_item.h"

#include <QByteArray>
#include <QList>
#include <QVariantMap>

#include <optional>

namespace scripting {

// An entry as org.holdfin.Shelf1.List gives it (a{sv}):
//   id (s), kind (s: "files", "links", "text" or "mixed"), caption (s: what its tile says),
//   locked (b), and per payload, in order: contents (as: a URL, fully percent-encoded, or the
//   text), types (as: type identifiers), kinds (as: "file", "link" or "text").
using EntryRow = QVariantMap;

EntryRow entryRow(const shelf::BucketItem& item);

// What `holdfin list` prints: one line per entry, newest first, its fields separated by tabs:
// position, kind, caption (its first line), then each payload's path, URL or first line of text.
// Control characters in those show as '?', so that a line stays one line.
QByteArray listLines(const QList<EntryRow>& rows);
// The rows as a JSON array: position, id, kind, caption, locked, and payloads, each with its
// type and its url (plus path, for a local file whose name is UTF-8) or text.
QByteArray listJson(const QList<EntryRow>& rows);
// The local files an entry names, as the file system's bytes, in order.
QList<QByteArray> localPaths(const EntryRow& row);

} // namespace scripting
