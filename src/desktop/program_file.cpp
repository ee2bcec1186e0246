#include "desktop/program_file.h"

#include <QFileInfo>
#include <QMimeDatabase>

#include <array>

namespace desktop {

namespace {

// Types a URL opener may start rather than show: programs, and launchers that name one.
constexpr std::array kProgramTypes = {
    "application/x-desktop",          "application/x-executable", "application/x-sharedlib",
    "application/x-pie-executable",   "application/vnd.appimage", "application/x-ms-dos-executable",
    "application/x-msdownload",       "application/x-msi",        "application/x-shellscript",
    "application/x-desktop-launcher",
};

bool isProgramType(const QMimeType& type) {
    for (const char* name : kProgramTypes) {
        if (type.inherits(QLatin1String(name)))
            return true;
    }
    return false;
}

} // namespace

bool isProgramFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        return false;
    // The permission alone decides: on file systems that mark every file executable this
    // shows a document in its folder, which is safe where running it is not.
    if (info.isExecutable())
        return true;
    const QMimeDatabase database;
    return isProgramType(database.mimeTypeForFile(info, QMimeDatabase::MatchExtension)) ||
           isProgramType(database.mimeTypeForFile(info, QMimeDatabase::MatchContent));
}

} // namespace desktop
