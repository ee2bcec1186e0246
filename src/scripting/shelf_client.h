#pragma once

#include "scripting/command_line.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>
#include <QVariantList>

#include <cstdio>

namespace scripting {

// Runs one command of the command line against the running Holdfin's org.holdfin.Shelf1,
// starting Holdfin first when none runs (by D-Bus activation where its service is installed,
// else `holdfinProgram`). Results go to `out`, messages to `err`. Needs a QCoreApplication.
class ShelfClient final {
public:
    // Exit statuses.
    static constexpr int kSuccess = 0;
    static constexpr int kRefused = 1;

    ShelfClient(QDBusConnection bus, QString holdfinProgram, std::FILE* out = stdout,
                std::FILE* err = stderr);

    int run(const Invocation& invocation);

private:
    bool ensureRunning();
    // The answer to `method`; an error answer is printed and gives nothing.
    std::optional<QDBusMessage> call(const QString& method, const QVariantList& arguments = {},
                                     int timeoutMs = -1);
    std::optional<QList<QVariantMap>> list();
    int add(const Invocation& invocation);
    int refuse(const QString& message);
    void write(const QByteArray& bytes);

    QDBusConnection m_bus;
    QString m_holdfinProgram;
    std::FILE* m_out;
    std::FILE* m_err;
};

} // namespace scripting
