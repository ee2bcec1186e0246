#pragma once

#include "shelf/bucket_item.h"

#include <QList>
#include <QString>

namespace shelf {

// What an entry is called in words: its tile's caption, and what a screen reader says of it.

// The caption of an entry of several payloads (or none), by what they are: "3 files" when all
// are files, "2 folders" when all are folders, "1 folder, 3 files" for both, "4 items" once
// anything else is among them. Folders are told by the type each payload was given at the
// drop, so nothing is stat'ed.
QString multiPayloadCaption(const QList<BucketItemData>& payloads);
// The caption of any entry: the name of a single payload, else the count above.
QString entryCaption(const BucketItem& item);
// What the entry holds ("3 files", "text, 12 lines", "link to example.org"), and whether it
// is locked.
QString entryDescription(const BucketItem& item);

// Whether `text` is a single web address (http, https or ftp, with a host); a long text never
// is, and costs nothing to look at.
bool isWebAddress(const QString& text);

} // namespace shelf
