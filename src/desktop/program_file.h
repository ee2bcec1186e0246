#pragma once

#include <QString>

namespace desktop {

// Whether opening the file at `path` with its default application might run it as a program:
// a file the user may execute, or whose type by name or content is a program or a launcher
// (.desktop, ELF, AppImage, Windows executable, shell script). Such files are shown in their
// folder instead of opened. False for folders and for paths that do not exist. Reads the
// file's first bytes; any thread.
bool isProgramFile(const QString& path);

} // namespace desktop
