#pragma once

#include "shelf/bucket_item.h"

#include <QList>
#include <QString>
#include <QUrl>

namespace desktop {
class DesktopServices;
}

namespace views {

// What a tile's Open and Show in Folder do with an entry's payloads. Files that are gone are
// left out; texts that are no link have nothing to open. GUI thread.

// The URLs Open hands to the desktop, at most the first kMaxOpened: files that are there and
// links.
QList<QUrl> openableUrls(const QList<shelf::BucketItemData>& payloads);
// The local files that are there, for the file manager.
QList<QUrl> showableUrls(const QList<shelf::BucketItemData>& payloads);
// The paths of the local files the payloads name, there or not, one per line.
QString localPaths(const QList<shelf::BucketItemData>& payloads);

// Opens each openable URL with its default application; a program or launcher is never
// started that way but shown in its folder.
void openPayloads(const QList<shelf::BucketItemData>& payloads,
                  desktop::DesktopServices& desktopServices);
// Shows the files that are there selected in the file manager.
void showPayloadsInFolder(const QList<shelf::BucketItemData>& payloads,
                          desktop::DesktopServices& desktopServices);

// Opening more would bury the desktop in windows.
constexpr qsizetype kMaxOpened = 20;

} // namespace views
