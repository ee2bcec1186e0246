#include "scripting/shelf_client.h"

#include "desktop/single_instance.h"
#include "scripting/entry_rows.h"
#include "scripting/file_uris.h"
#include "scripting/shelf_service.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QDBusReply>
#include <QDeadlineTimer>
#include <QProcess>
#include <QStringDecoder>
#include <QThread>
#include <QUrl>

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <utility>

namespace scripting {

namespace {

// How long a Holdfin started here may take to come up on the bus.
constexpr int kStartTimeoutMs = 20000;
// Parking many files or a large text takes a while, off the running Holdfin's GUI thread.
constexpr int kAddTimeoutMs = 120000;

const QString kInterface = QStringLiteral("org.holdfin.Shelf1");

QByteArray currentDirectory() {
    const std::unique_ptr<char, decltype(&std::free)> directory(::getcwd(nullptr, 0), &std::free);
    return directory ? QByteArray(directory.get()) : QByteArray("/");
}

// Links are told from file names by their scheme's "://", or a scheme that has none.
bool isLink(const QByteArray& argument) {
    const qsizetype colon = argument.indexOf(':');
    if (colon < 2 || !QUrl::fromEncoded(argument).isValid())
        return false;
    const QByteArray scheme = argument.left(colon).toLower();
    return argument.mid(colon).startsWith("://") || scheme == "mailto" || scheme == "magnet" ||
           scheme == "tel" || scheme == "urn";
}

// The URI that parks `argument`: a file, folder or link that is there; nothing otherwise.
std::optional<QString> uriOf(const QByteArray& argument, const QByteArray& directory) {
    const QByteArray path = absolutePath(argument, directory);
    if (argument != "-" && exists(path))
        return QString::fromLatin1(fileUriOf(path));
    if (!isLink(argument))
        return std::nullopt;
    const std::optional<QByteArray> linked = localPathOf(argument);
    if (linked && !exists(*linked))
        return std::nullopt;
    return QString::fromUtf8(argument);
}

std::optional<QString> strictUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    return decoder.hasError() ? std::nullopt : std::optional<QString>(text);
}

// Standard input to its end; nothing when it holds more than `limit` bytes (or cannot be read).
std::optional<QByteArray> standardInput(qsizetype limit) {
    QByteArray bytes;
    char chunk[65536];
    for (;;) {
        const ssize_t count = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (count == 0)
            return bytes;
        if (count < 0 && errno != EINTR)
            return std::nullopt;
        if (count > 0)
            bytes.append(chunk, count);
        if (bytes.size() > limit)
            return std::nullopt;
    }
}

} // namespace

ShelfClient::ShelfClient(QDBusConnection bus, QString holdfinProgram, std::FILE* out,
                         std::FILE* err)
    : m_bus(std::move(bus)), m_holdfinProgram(std::move(holdfinProgram)), m_out(out), m_err(err) {
    qDBusRegisterMetaType<QList<QVariantMap>>();
}

int ShelfClient::run(const Invocation& invocation) {
    if (!m_bus.isConnected())
        return refuse(
            QCoreApplication::translate("ShelfClient", "no session bus to reach Holdfin on"));
    const QString& command = invocation.command;
    if (command == QLatin1String("add"))
        return add(invocation);
    if (!ensureRunning())
        return refuse(QCoreApplication::translate(
            "ShelfClient", "Holdfin did not start (run holdfin to see why)"));
    const std::pair<const char*, QString> plainCalls[] = {
        {"show", QStringLiteral("Show")},
        {"hide", QStringLiteral("Hide")},
        {"clear", QStringLiteral("Clear")},
    };
    for (const auto& [name, method] : plainCalls) {
        if (command == QLatin1String(name))
            return call(method) ? kSuccess : kRefused;
    }
    const std::optional<QList<EntryRow>> rows = list();
    if (!rows)
        return kRefused;
    if (command == QLatin1String("list")) {
        write(invocation.isJson ? listJson(*rows) : listLines(*rows));
        return kSuccess;
    }
    if (invocation.position > rows->size())
        return refuse(QCoreApplication::translate("ShelfClient", "no entry %1: the shelf holds %2")
                          .arg(invocation.position)
                          .arg(rows->size()));
    const EntryRow& row = rows->at(invocation.position - 1);
    if (command == QLatin1String("remove"))
        return call(QStringLiteral("Remove"), {row.value(QStringLiteral("id"))}) ? kSuccess
                                                                                 : kRefused;
    const QList<QByteArray> paths = localPaths(row);
    if (paths.isEmpty())
        return refuse(QCoreApplication::translate("ShelfClient", "entry %1 holds no files")
                          .arg(invocation.position));
    QByteArray out;
    for (const QByteArray& path : paths)
        out += path + (invocation.isNulSeparated ? '\0' : '\n');
    write(out);
    return kSuccess;
}

int ShelfClient::add(const Invocation& invocation) {
    const QList<QByteArray>& arguments = invocation.arguments;
    std::optional<QString> text = invocation.addedText;
    QStringList uris;
    if (arguments == QList<QByteArray>{"-"}) {
        const std::optional<QByteArray> bytes = standardInput(ShelfService::kLargestText);
        if (!bytes)
            return refuse(QCoreApplication::translate(
                "ShelfClient",
                "standard input cannot be read or holds more than a drop may (256 MiB)"));
        text = strictUtf8(*bytes);
        if (!text)
            return refuse(
                QCoreApplication::translate("ShelfClient", "standard input is not UTF-8 text"));
    } else if (!text) {
        const QByteArray directory = currentDirectory();
        for (const QByteArray& argument : arguments) {
            const std::optional<QString> uri = uriOf(argument, directory);
            if (!uri)
                return refuse(QCoreApplication::translate("ShelfClient", "no such file: %1")
                                  .arg(QString::fromLocal8Bit(argument)));
            uris << *uri;
        }
    }
    if (!ensureRunning())
        return refuse(QCoreApplication::translate(
            "ShelfClient", "Holdfin did not start (run holdfin to see why)"));
    const std::optional<QDBusMessage> answer =
        text ? call(QStringLiteral("AddText"), {*text}, kAddTimeoutMs)
             : call(QStringLiteral("Add"), {uris, invocation.isSplit}, kAddTimeoutMs);
    return answer ? kSuccess : kRefused;
}

bool ShelfClient::ensureRunning() {
    QDBusConnectionInterface* bus = m_bus.interface();
    const QString name = desktop::SingleInstance::serviceName();
    if (bus->isServiceRegistered(name))
        return true;
    // Where Holdfin's D-Bus service is installed, the bus starts it and answers once it is up.
    if (bus->startService(name).isValid())
        return true;
    QProcess holdfin;
    holdfin.setProgram(m_holdfinProgram);
    // Its own lines are no result of this command.
    holdfin.setStandardInputFile(QProcess::nullDevice());
    holdfin.setStandardOutputFile(QProcess::nullDevice());
    holdfin.setStandardErrorFile(QProcess::nullDevice());
    qint64 pid = 0;
    if (!holdfin.startDetached(&pid))
        return false;
    const QDeadlineTimer deadline(kStartTimeoutMs);
    while (!bus->isServiceRegistered(name)) {
        // One that ended (no display, say) will not come.
        if (deadline.hasExpired() || ::kill(static_cast<pid_t>(pid), 0) != 0)
            return false;
        QThread::msleep(20);
    }
    return true;
}

std::optional<QDBusMessage> ShelfClient::call(const QString& method, const QVariantList& arguments,
                                              int timeoutMs) {
    QDBusMessage message =
        QDBusMessage::createMethodCall(desktop::SingleInstance::serviceName(),
                                       desktop::SingleInstance::objectPath(), kInterface, method);
    message.setArguments(arguments);
    const QDBusMessage answer = m_bus.call(message, QDBus::Block, timeoutMs);
    if (answer.type() == QDBusMessage::ReplyMessage)
        return answer;
    refuse(answer.errorMessage().isEmpty() ? answer.errorName() : answer.errorMessage());
    return std::nullopt;
}

std::optional<QList<EntryRow>> ShelfClient::list() {
    const std::optional<QDBusMessage> answer = call(QStringLiteral("List"));
    if (!answer)
        return std::nullopt;
    const QDBusReply<QList<QVariantMap>> reply(*answer);
    if (!reply.isValid()) {
        refuse(QCoreApplication::translate("ShelfClient",
                                           "Holdfin answered List with something else"));
        return std::nullopt;
    }
    return reply.value();
}

int ShelfClient::refuse(const QString& message) {
    std::fputs(qUtf8Printable(QStringLiteral("holdfin: ") + message + QLatin1Char('\n')), m_err);
    std::fflush(m_err);
    return kRefused;
}

void ShelfClient::write(const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), m_out);
    std::fflush(m_out);
}

} // namespace scripting
