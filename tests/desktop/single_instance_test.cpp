// One Holdfin per session: a first process, on a thread of its own with its own event loop as
// another process would have, and later launches handing their requests to it.
#include "desktop/single_instance.h"

#include "support/private_session_bus.h"
#include "support/wait_until.h"

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QEventLoop>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <atomic>
#include <future>
#include <memory>

using desktop::SingleInstance;
using Outcome = SingleInstance::Outcome;
using Request = SingleInstance::Request;

namespace {

QDBusConnection noBus() {
    return QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"),
                                         QStringLiteral("none"));
}

// The session's first Holdfin, running on its own thread with its own event loop. What crosses
// threads goes through the thread's start, a promise and atomics, which ThreadSanitizer sees.
class FirstProcess {
public:
    FirstProcess(QDBusConnection bus, const QString& runtime) {
        std::promise<Outcome> claimed;
        std::future<Outcome> claim = claimed.get_future();
        m_thread.reset(QThread::create([this, bus, runtime, &claimed] {
            SingleInstance instance(bus, runtime);
            QObject::connect(&instance, &SingleInstance::activationRequested, [this] { ++shelf; });
            QObject::connect(&instance, &SingleInstance::preferencesRequested,
                             [this] { ++preferences; });
            claimed.set_value(instance.claim(Request::ShowShelf));
            // Ends at once when the thread was told to quit before it got here.
            QEventLoop().exec();
        }));
        m_thread->start();
        outcome = claim.get();
    }
    ~FirstProcess() {
        m_thread->quit();
        m_thread->wait();
    }

    Outcome outcome = Outcome::NoAnswer;
    std::atomic<int> shelf = 0;
    std::atomic<int> preferences = 0;

private:
    std::unique_ptr<QThread> m_thread;
};

class SingleInstanceTest : public testing::Test {
protected:
    void TearDown() override { QDBusConnection::disconnectFromBus(QStringLiteral("none")); }

    // A private session bus; false when dbus-daemon cannot run here.
    bool startBus() { return m_bus.start(); }
    // A connection of its own to the private bus, as each process has.
    QDBusConnection bus(const QString& name) { return m_bus.connect(name); }
    bool isNameOwned(const QString& connection) {
        return bus(connection).interface()->isServiceRegistered(SingleInstance::serviceName());
    }

    QTemporaryDir m_runtime;

private:
    testing_support::PrivateSessionBus m_bus;
};

TEST_F(SingleInstanceTest, withoutABusLaterLaunchesHandOverThroughTheSocket) {
    FirstProcess first(noBus(), m_runtime.path());
    ASSERT_EQ(first.outcome, Outcome::Primary);

    SingleInstance second(noBus(), m_runtime.path());
    EXPECT_EQ(second.claim(Request::ShowPreferences), Outcome::HandedOver);
    ASSERT_TRUE(testing_support::waitUntil([&] { return first.preferences == 1; }));

    SingleInstance third(noBus(), m_runtime.path());
    EXPECT_EQ(third.claim(Request::ShowShelf), Outcome::HandedOver);
    ASSERT_TRUE(testing_support::waitUntil([&] { return first.shelf == 1; }));
    EXPECT_EQ(first.preferences, 1);
}

TEST_F(SingleInstanceTest, withABusTheFirstOwnsTheNameAndLaterLaunchesCallIt) {
    if (!startBus())
        GTEST_SKIP() << "no dbus-daemon";
    auto first = std::make_unique<FirstProcess>(bus("first"), m_runtime.path());
    ASSERT_EQ(first->outcome, Outcome::Primary);
    EXPECT_TRUE(isNameOwned("observer"));

    SingleInstance second(bus("second"), m_runtime.path());
    EXPECT_EQ(second.claim(Request::ShowShelf), Outcome::HandedOver);
    ASSERT_TRUE(testing_support::waitUntil([&] { return first->shelf == 1; }));

    // A launch without the bus (another DBUS_SESSION_BUS_ADDRESS) still finds the first.
    SingleInstance busless(noBus(), m_runtime.path());
    EXPECT_EQ(busless.claim(Request::ShowPreferences), Outcome::HandedOver);
    ASSERT_TRUE(testing_support::waitUntil([&] { return first->preferences == 1; }));

    first.reset();
    EXPECT_TRUE(testing_support::waitUntil([&] { return !isNameOwned("observer"); }))
        << "the name goes with the first process";
    SingleInstance next(bus("next"), m_runtime.path());
    EXPECT_EQ(next.claim(Request::ShowShelf), Outcome::Primary);
}

TEST_F(SingleInstanceTest, aLaunchWithABusDefersToAFirstThatHasNone) {
    if (!startBus())
        GTEST_SKIP() << "no dbus-daemon";
    FirstProcess first(noBus(), m_runtime.path());
    ASSERT_EQ(first.outcome, Outcome::Primary);

    SingleInstance second(bus("second"), m_runtime.path());
    EXPECT_EQ(second.claim(Request::ShowShelf), Outcome::HandedOver);
    ASSERT_TRUE(testing_support::waitUntil([&] { return first.shelf == 1; }));
    EXPECT_FALSE(isNameOwned("observer")) << "the name is given back with the hand-over";
}

TEST_F(SingleInstanceTest, aNameOwnerThatDoesNotAnswerIsReported) {
    if (!startBus())
        GTEST_SKIP() << "no dbus-daemon";
    QDBusConnection squatter = bus("squatter");
    ASSERT_TRUE(squatter.registerService(SingleInstance::serviceName()));
    SingleInstance second(bus("second"), m_runtime.path());
    EXPECT_EQ(second.claim(Request::ShowShelf), Outcome::NoAnswer);
}

TEST_F(SingleInstanceTest, theSocketIgnoresWhatIsNoRequest) {
    FirstProcess first(noBus(), m_runtime.path());
    ASSERT_EQ(first.outcome, Outcome::Primary);
    const QString path = m_runtime.filePath(QStringLiteral("holdfin.socket"));

    for (const QByteArray& junk :
         {QByteArray("quit\n"), QByteArray("shelfpreferences\n"), QByteArray(4096, 'x')}) {
        QLocalSocket client;
        client.connectToServer(path);
        ASSERT_TRUE(client.waitForConnected(5000));
        client.write(junk);
        ASSERT_TRUE(client.waitForBytesWritten(5000));
        EXPECT_TRUE(client.state() == QLocalSocket::UnconnectedState ||
                    client.waitForDisconnected(5000))
            << junk.left(20).constData();
        EXPECT_FALSE(client.canReadLine()) << "no answer to " << junk.left(20).constData();
    }
    // A client that says nothing holds nobody up.
    QLocalSocket silent;
    silent.connectToServer(path);
    ASSERT_TRUE(silent.waitForConnected(5000));
    SingleInstance second(noBus(), m_runtime.path());
    EXPECT_EQ(second.claim(Request::ShowShelf), Outcome::HandedOver);
    ASSERT_TRUE(testing_support::waitUntil([&] { return first.shelf == 1; }));
    EXPECT_EQ(first.preferences, 0);
}

TEST_F(SingleInstanceTest, withoutARuntimeDirectoryHoldfinRunsUnguarded) {
    SingleInstance instance(noBus(), m_runtime.filePath(QStringLiteral("missing/dir")));
    EXPECT_EQ(instance.claim(Request::ShowShelf), Outcome::Primary);
}

TEST_F(SingleInstanceTest, aFirstLaunchAskingForThePreferencesGetsThemOnceStartUpIsOver) {
    for (const Request request : {Request::ShowShelf, Request::ShowPreferences}) {
        QTemporaryDir runtime;
        SingleInstance instance(noBus(), runtime.path());
        int shelf = 0;
        int preferences = 0;
        QObject::connect(&instance, &SingleInstance::activationRequested, [&] { ++shelf; });
        QObject::connect(&instance, &SingleInstance::preferencesRequested, [&] { ++preferences; });
        ASSERT_EQ(instance.claim(request), Outcome::Primary);
        EXPECT_EQ(preferences, 0) << "not before start-up is over";
        instance.deliverLaunchRequest();
        EXPECT_EQ(preferences, request == Request::ShowPreferences ? 1 : 0);
        EXPECT_EQ(shelf, 0) << "a plain launch shows nothing of itself";
    }
}

TEST(SingleInstanceRequest, comesFromThePreferencesArgument) {
    EXPECT_EQ(SingleInstance::requestOf({"holdfin"}), Request::ShowShelf);
    EXPECT_EQ(SingleInstance::requestOf({"holdfin", "--preferences"}), Request::ShowPreferences);
}

} // namespace
