#pragma once

#include "desktop/termination_signal_watcher.h"

#include <QCoreApplication>
#include <QPoint>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <memory>
#include <optional>

// Shared parts of the X11 test programs. Argument reading: Qt consumes its own options (-name,
// -title, -geometry, ...) from argv before these are read, so ours all start with "--".
namespace test_programs {

// The value after `option` ("--at 100,100"), removed from `args` together with the option.
inline std::optional<QString> takeOption(QStringList& args, const QString& option) {
    const qsizetype at = args.indexOf(option);
    if (at < 0 || at + 1 >= args.size())
        return std::nullopt;
    const QString value = args.at(at + 1);
    args.remove(at, 2);
    return value;
}

// "X,Y" as a point; `fallback` when absent or malformed.
inline QPoint takePosition(QStringList& args, QPoint fallback) {
    const auto value = takeOption(args, QStringLiteral("--at"));
    if (!value)
        return fallback;
    const QStringList parts = value->split(QLatin1Char(','));
    bool isX = false, isY = false;
    const QPoint point(parts.value(0).toInt(&isX), parts.value(1).toInt(&isY));
    return isX && isY ? point : fallback;
}

// One line on standard output, flushed at once (the tests read it through a pipe).
inline void say(const QString& line) {
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

// Prints "ready X Y W H" (global geometry) once `window` is exposed and has kept its place for
// a moment, so that a test never presses before the window can take the press.
inline void announceWhenReady(QWidget& window) {
    auto* timer = new QTimer(&window);
    auto stableTurns = std::make_shared<int>(0);
    auto last = std::make_shared<QPoint>();
    QObject::connect(timer, &QTimer::timeout, &window, [&window, timer, stableTurns, last] {
        const QPoint origin = window.mapToGlobal(QPoint(0, 0));
        const bool isExposed = window.windowHandle() && window.windowHandle()->isExposed();
        *stableTurns = isExposed && origin == *last ? *stableTurns + 1 : 0;
        *last = origin;
        if (*stableTurns < 10)
            return;
        timer->stop();
        say(QStringLiteral("ready %1 %2 %3 %4")
                .arg(origin.x())
                .arg(origin.y())
                .arg(window.width())
                .arg(window.height()));
    });
    timer->start(20);
}

// Quits the event loop on SIGTERM, as the tests end their programs with it: a normal exit lets
// a sanitized build check for leaks and finish its report.
inline void quitOnTerminationSignal(QCoreApplication& app) {
    auto* watcher = new desktop::TerminationSignalWatcher(&app);
    QObject::connect(watcher, &desktop::TerminationSignalWatcher::terminationRequested, &app,
                     &QCoreApplication::quit);
}

} // namespace test_programs
