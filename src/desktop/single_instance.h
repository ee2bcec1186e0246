#pragma once

#include <QDBusConnection>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QDeadlineTimer;
class QLocalServer;
class QLocalSocket;

namespace desktop {

// One Holdfin per session. The first process owns the session-bus name org.holdfin.Holdfin
// (where there is a bus, as KDE applications do), where it answers org.freedesktop.Application,
// and, in every case, a lock file in the runtime directory with a local socket beside it. A
// later process hands its request to the first one, over the bus where the name is owned
// (Activate, ActivateAction "preferences"), else over the socket, and ends. GUI thread.
class SingleInstance final : public QObject {
    Q_OBJECT
public:
    enum class Request { ShowShelf, ShowPreferences };
    enum class Outcome {
        Primary,    // this process is the session's Holdfin
        HandedOver, // the running Holdfin took the request
        NoAnswer,   // a Holdfin runs but did not take the request in time
    };

    // The bus name and object path of the first process.
    static QString serviceName() { return QStringLiteral("org.holdfin.Holdfin"); }
    static QString objectPath() { return QStringLiteral("/org/holdfin/Holdfin"); }

    // `runtimeDirectory` holds the lock file and the socket (holdfin.lock, holdfin.socket).
    explicit SingleInstance(QDBusConnection bus = QDBusConnection::sessionBus(),
                            QString runtimeDirectory = defaultRuntimeDirectory(),
                            QObject* parent = nullptr);
    ~SingleInstance() override;

    // The object exported at objectPath(): further interfaces (QDBusAbstractAdaptor children)
    // may be added to it until the event loop runs.
    QObject* busObject() const { return m_busObject.get(); }

    // $XDG_RUNTIME_DIR, or Qt's private fallback for it.
    static QString defaultRuntimeDirectory();
    // "--preferences" among `arguments` asks for the preferences, else for the shelf.
    static Request requestOf(const QStringList& arguments);
    // The line a process that is not the first prints before it ends.
    static QString outcomeLine(Request request, Outcome outcome);

    // Makes this process the session's Holdfin, or hands `request` to the one that is; waits
    // up to a few seconds for its answer. Call once, before the event loop runs.
    Outcome claim(Request request);
    // claim() with the request `arguments` make; a process that is not the first prints its
    // outcome line on standard output. True when this process is the session's Holdfin.
    bool claimOrHandOver(const QStringList& arguments);
    // Emits the signal for this first process's own request, if it asked for the preferences:
    // a plain launch shows nothing until a drag. Run once start-up is over.
    void deliverLaunchRequest();

signals:
    // A later launch asked for the shelf.
    void activationRequested();
    // A later launch asked for the preferences (`--preferences`), or the bus for the action
    // "preferences".
    void preferencesRequested();
    // org.freedesktop.Application: Open(uris), and the actions "paste-to-shelf" and "quit"
    // ("show-shelf" is activationRequested).
    void openRequested(const QStringList& uris);
    void pasteRequested();
    void quitRequested();

private:
    enum class BusName { Owned, Taken, Unavailable };

    BusName registerOnBus();
    void unregisterFromBus();
    bool handOverOnBus(Request request);
    bool handOverOnSocket(QLocalSocket& socket, Request request, const QDeadlineTimer& deadline);
    void listen();
    void onConnection();
    void deliver(Request request);

    QDBusConnection m_bus;
    QString m_runtimeDirectory;
    QLockFile m_lock;
    QLocalServer* m_server = nullptr;
    std::unique_ptr<QObject> m_busObject;
    bool m_isOnBus = false;
    Request m_launchRequest = Request::ShowShelf;
};

} // namespace desktop
