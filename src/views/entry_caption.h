#pragma once

#include "shelf/bucket_item.h"

#include <QList>
#include <QString>

namespace views {

// The caption of an entry of several payloads (or none), by what they are: "3 files" when all
// are files, "2 folders" when all are folders, "1 folder, 3 files" for both, "4 items" once
// anything else is among them. Folders are told by the type each payload was given at the
// drop, so nothing is stat'ed.
QString multiPayloadCaption(const QList<shelf::BucketItemData>& payloads);

} // namespace views
