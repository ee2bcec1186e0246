#pragma once

#include "support/x11/child_process.h"
#include "x11_tools.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>

#include <cstdlib>
#include <string>

namespace x11_tools {

// Makes `home` the configuration and cache home of the holdfin processes this test starts
// (through the environment they inherit), with the light look and without first-launch
// seeding that would undo it, then `lines` (a later line of a key wins). False when the
// settings could not be written.
inline bool prepareHoldfinHome(const QString& home, const QByteArray& lines = {}) {
    const QString config = home + QStringLiteral("/config");
    if (!QDir().mkpath(config + QStringLiteral("/holdfin")))
        return false;
    QFile settings(config + QStringLiteral("/holdfin/holdfin.conf"));
    if (!settings.open(QIODevice::WriteOnly))
        return false;
    settings.write("[General]\nhasLaunchedBefore=true\nlaunchAtLogin=false\n"
                   "selectedAppearance=Light\nshowMenuBarIcon=false\n" +
                   lines);
    setenv("XDG_CONFIG_HOME", config.toLocal8Bit().constData(), 1);
    setenv("XDG_CACHE_HOME", (home + QStringLiteral("/cache")).toLocal8Bit().constData(), 1);
    return true;
}

// The panel window of the holdfin process `pid` once it has built it; empty when it has not
// within 10 s.
inline std::string waitForPanelWindow(int pid) {
    std::string panel;
    waitFor(
        [&] {
            panel = trimmed(output("xdotool", {"search", "--pid", std::to_string(pid)}));
            return !panel.empty();
        },
        std::chrono::seconds(10));
    return panel;
}

// The whole screen, taken through the file `path`; null when it could not be taken.
inline QImage screenshot(const QString& path) {
    QFile::remove(path);
    if (testing_support::x11::ChildProcess::run("import",
                                                {"-window", "root", path.toStdString()}) != 0)
        return {};
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

} // namespace x11_tools
