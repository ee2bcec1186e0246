#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace scripting {

// What one run of `holdfin` was asked for, read from its arguments before any window or bus
// connection exists.
struct Invocation {
    enum class Action {
        Launch,     // run the shelf, or hand the launch to the running one
        Help,       // print `text` on standard output, exit 0
        Version,    // likewise
        UsageError, // print `text` on standard error, exit 2
        Command,    // talk to the running Holdfin
    };
    Action action = Action::Launch;
    QString text;
    bool showPreferences = false; // Launch

    // Command: its name and its arguments as the bytes they came as (file names need not be
    // UTF-8).
    QString command;
    QList<QByteArray> arguments;
    std::optional<QString> addedText; // add --text
    bool isSplit = false;             // add --split
    bool isJson = false;              // list --json
    bool isNulSeparated = false;      // paths -0
    int position = 1;                 // paths, remove: 1 is the newest entry
};

// Reads `argv` (the program's name first). Never exits, prints or needs an application object.
Invocation parseCommandLine(const QList<QByteArray>& argv);

} // namespace scripting
