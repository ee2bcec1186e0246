#include "desktop/single_instance.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <optional>

namespace desktop {

namespace {

// How long a later launch waits for the first one to take its request: long enough for a
// first process still starting up on a loaded machine.
constexpr int kAnswerTimeoutMs = 10000;
// A client of the socket that sends no request within this time is dropped.
constexpr int kClientTimeoutMs = 5000;
// The longest request line ("preferences") with room to spare.
constexpr qint64 kMaximumLine = 64;

const char* const kShelfCommand = "shelf";
const char* const kPreferencesCommand = "preferences";
const char* const kAnswer = "ok";

const QString kApplicationInterface = QStringLiteral("org.freedesktop.Application");

} // namespace

// org.freedesktop.Application on the first process's object: how desktops, launchers and later
// launches reach it.
class ApplicationAdaptor final : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")
public:
    ApplicationAdaptor(QObject* busObject, SingleInstance& instance, QDBusConnection bus)
        : QDBusAbstractAdaptor(busObject), m_instance(instance), m_bus(std::move(bus)) {}

public slots:
    void Activate(const QVariantMap& platformData) {
        Q_UNUSED(platformData);
        emit m_instance.activationRequested();
    }
    void Open(const QStringList& uris, const QVariantMap& platformData) {
        Q_UNUSED(platformData);
        emit m_instance.openRequested(uris);
    }
    void ActivateAction(const QString& name, const QVariantList& parameter,
                        const QVariantMap& platformData, const QDBusMessage& message) {
        Q_UNUSED(parameter);
        Q_UNUSED(platformData);
        if (name == QLatin1String("preferences")) {
            emit m_instance.preferencesRequested();
        } else if (name == QLatin1String("show-shelf")) {
            emit m_instance.activationRequested();
        } else if (name == QLatin1String("paste-to-shelf")) {
            emit m_instance.pasteRequested();
        } else if (name == QLatin1String("quit")) {
            emit m_instance.quitRequested();
        } else {
            message.setDelayedReply(true);
            m_bus.send(message.createErrorReply(QDBusError::InvalidArgs,
                                                QStringLiteral("No action named ") + name));
        }
    }

private:
    SingleInstance& m_instance;
    QDBusConnection m_bus;
};

SingleInstance::SingleInstance(QDBusConnection bus, QString runtimeDirectory, QObject* parent)
    : QObject(parent), m_bus(std::move(bus)), m_runtimeDirectory(std::move(runtimeDirectory)),
      m_lock(QDir(m_runtimeDirectory).filePath(QStringLiteral("holdfin.lock"))),
      m_busObject(std::make_unique<QObject>()) {
    new ApplicationAdaptor(m_busObject.get(), *this, m_bus);
    // Only a process that has died gives its lock up: a lock's age says nothing.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() {
    unregisterFromBus();
    if (m_server) {
        m_server->close();
        delete m_server;
    }
}

QString SingleInstance::defaultRuntimeDirectory() {
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

SingleInstance::Request SingleInstance::requestOf(const QStringList& arguments) {
    return arguments.contains(QStringLiteral("--preferences")) ? Request::ShowPreferences
                                                               : Request::ShowShelf;
}

QString SingleInstance::outcomeLine(Request request, Outcome outcome) {
    switch (outcome) {
    case Outcome::Primary:
        return {};
    case Outcome::HandedOver:
        return request == Request::ShowPreferences
                   ? QStringLiteral("Holdfin is already running; showing its preferences.")
                   : QStringLiteral("Holdfin is already running; showing its shelf.");
    case Outcome::NoAnswer:
        break;
    }
    return QStringLiteral("Holdfin is already running but did not answer.");
}

bool SingleInstance::claimOrHandOver(const QStringList& arguments) {
    const Request request = requestOf(arguments);
    const Outcome outcome = claim(request);
    if (outcome == Outcome::Primary)
        return true;
    std::fputs(qUtf8Printable(outcomeLine(request, outcome) + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
    return false;
}

SingleInstance::Outcome SingleInstance::claim(Request request) {
    m_launchRequest = request;
    if (registerOnBus() == BusName::Taken)
        return handOverOnBus(request) ? Outcome::HandedOver : Outcome::NoAnswer;

    // With the bus name or without a bus, the lock decides: a first process that has no bus
    // holds it too. It may be taking it right now, before its socket listens: try again.
    const QDeadlineTimer deadline(kAnswerTimeoutMs);
    for (;;) {
        if (m_lock.tryLock(0)) {
            listen();
            return Outcome::Primary;
        }
        // No lock can be had here (no runtime directory): run unguarded rather than not at all.
        if (m_lock.error() != QLockFile::LockFailedError)
            return Outcome::Primary;
        QLocalSocket socket;
        socket.connectToServer(QDir(m_runtimeDirectory).filePath(QStringLiteral("holdfin.socket")));
        if (socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) {
            unregisterFromBus();
            return handOverOnSocket(socket, request, deadline) ? Outcome::HandedOver
                                                               : Outcome::NoAnswer;
        }
        if (deadline.hasExpired()) {
            unregisterFromBus();
            return Outcome::NoAnswer;
        }
        QThread::msleep(50);
    }
}

void SingleInstance::deliverLaunchRequest() {
    if (m_launchRequest == Request::ShowPreferences)
        deliver(Request::ShowPreferences);
}

SingleInstance::BusName SingleInstance::registerOnBus() {
    QDBusConnectionInterface* bus = m_bus.isConnected() ? m_bus.interface() : nullptr;
    if (!bus)
        return BusName::Unavailable;
    // The object is there before the name, so a caller that sees the name finds it.
    if (!m_bus.registerObject(objectPath(), m_busObject.get(), QDBusConnection::ExportAdaptors))
        return BusName::Unavailable;
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        bus->registerService(serviceName(), QDBusConnectionInterface::DontQueueService,
                             QDBusConnectionInterface::DontAllowReplacement);
    if (reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered) {
        m_isOnBus = true;
        return BusName::Owned;
    }
    m_bus.unregisterObject(objectPath());
    return reply.isValid() ? BusName::Taken : BusName::Unavailable;
}

void SingleInstance::unregisterFromBus() {
    if (!m_isOnBus)
        return;
    if (QDBusConnectionInterface* bus = m_bus.interface())
        bus->unregisterService(serviceName());
    m_bus.unregisterObject(objectPath());
    m_isOnBus = false;
}

bool SingleInstance::handOverOnBus(Request request) {
    QDBusMessage call;
    if (request == Request::ShowPreferences) {
        call = QDBusMessage::createMethodCall(serviceName(), objectPath(), kApplicationInterface,
                                              QStringLiteral("ActivateAction"));
        call << QStringLiteral("preferences") << QVariantList() << QVariantMap();
    } else {
        call = QDBusMessage::createMethodCall(serviceName(), objectPath(), kApplicationInterface,
                                              QStringLiteral("Activate"));
        call << QVariantMap();
    }
    return m_bus.call(call, QDBus::Block, kAnswerTimeoutMs).type() == QDBusMessage::ReplyMessage;
}

bool SingleInstance::handOverOnSocket(QLocalSocket& socket, Request request,
                                      const QDeadlineTimer& deadline) {
    socket.write(request == Request::ShowPreferences ? kPreferencesCommand : kShelfCommand);
    socket.write("\n");
    if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime())))
        return false;
    while (!socket.canReadLine()) {
        if (deadline.hasExpired() ||
            !socket.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            return false;
    }
    return socket.readLine(kMaximumLine).trimmed() == kAnswer;
}

void SingleInstance::listen() {
    const QString path = QDir(m_runtimeDirectory).filePath(QStringLiteral("holdfin.socket"));
    m_server = new QLocalServer;
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // Holding the lock, this process is the only one that listens: a socket file left there
    // is a dead process's.
    QLocalServer::removeServer(path);
    if (!m_server->listen(path))
        return;
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::onConnection);
}

void SingleInstance::onConnection() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        QTimer::singleShot(kClientTimeoutMs, socket, [socket] { socket->abort(); });
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > kMaximumLine)
                    socket->abort();
                return;
            }
            const QByteArray command = socket->readLine(kMaximumLine).trimmed();
            if (command == kShelfCommand || command == kPreferencesCommand) {
                socket->write(kAnswer);
                socket->write("\n");
                socket->flush();
            }
            socket->disconnectFromServer();
            if (command == kShelfCommand)
                deliver(Request::ShowShelf);
            else if (command == kPreferencesCommand)
                deliver(Request::ShowPreferences);
        });
    }
}

void SingleInstance::deliver(Request request) {
    if (request == Request::ShowPreferences)
        emit preferencesRequested();
    else
        emit activationRequested();
}

} // namespace desktop

#include "single_instance.moc"
