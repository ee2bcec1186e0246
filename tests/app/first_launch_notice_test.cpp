#include "app/first_launch_notice.h"
#include "desktop/desktop_notifications.h"
#include "desktop/settings.h"
#include "desktop/settings_keys.h"
#include "support/private_session_bus.h"
#include "support/wait_until.h"

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QVariantMap>

namespace {

// The notification service as desktops serve it, recording what it was asked to show.
class FakeNotificationServer final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QStringList shown;

public slots:
    Q_SCRIPTABLE uint Notify(const QString& appName, uint, const QString& icon,
                             const QString& summary, const QString& body, const QStringList&,
                             const QVariantMap& hints, int) {
        shown << appName + QLatin1Char('|') + icon + QLatin1Char('|') + summary + QLatin1Char('|') +
                     body + QLatin1Char('|') +
                     hints.value(QStringLiteral("desktop-entry")).toString();
        emit notified();
        return 1;
    }

signals:
    void notified();
};

class FirstLaunchNoticeTest : public testing::Test {
protected:
    void SetUp() override {
        if (!m_daemon.start())
            GTEST_SKIP() << "no dbus-daemon";
    }
    void TearDown() override {
        QDBusConnection::disconnectFromBus(QStringLiteral("server"));
        QDBusConnection::disconnectFromBus(QStringLiteral("holdfin"));
    }
    QDBusConnection bus(const QString& name) {
        return QDBusConnection::connectToBus(m_daemon.address(), name);
    }
    bool startServer() {
        QDBusConnection server = bus(QStringLiteral("server"));
        return server.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &m_server,
                                     QDBusConnection::ExportScriptableSlots) &&
               server.registerService(QStringLiteral("org.freedesktop.Notifications"));
    }

    testing_support::PrivateSessionBus m_daemon;
    FakeNotificationServer m_server;
    QTemporaryDir m_dir;
    desktop::Settings m_settings{m_dir.filePath(QStringLiteral("holdfin.conf"))};
};

} // namespace

TEST_F(FirstLaunchNoticeTest, LaunchesNotifyToDragAnythingUntilAServerTookIt) {
    desktop::DesktopNotifications notifications(QStringLiteral("org.holdfin.Holdfin"),
                                                bus(QStringLiteral("holdfin")));
    app::showFirstLaunchNotice(m_settings, notifications);                // no server yet: refused
    m_settings.setValue(desktop::settings_keys::hasLaunchedBefore, true); // as start-up seeds it
    QTest::qWait(300);
    ASSERT_TRUE(startServer());
    QSignalSpy notified(&m_server, &FakeNotificationServer::notified);
    EXPECT_TRUE(app::showFirstLaunchNotice(m_settings, notifications)) << "the next launch";
    ASSERT_TRUE(notified.wait(5000));
    ASSERT_EQ(m_server.shown.size(), 1);
    EXPECT_TRUE(m_server.shown.front().startsWith(QStringLiteral("Holdfin|org.holdfin.Holdfin|")));
    EXPECT_NE(m_server.shown.front().indexOf(QStringLiteral("Drag anything")), -1);
    EXPECT_TRUE(m_server.shown.front().endsWith(QStringLiteral("|org.holdfin.Holdfin")))
        << "filed under Holdfin's desktop entry";
    ASSERT_TRUE(testing_support::waitUntil([&] {
        return !m_settings.contains(desktop::settings_keys::firstLaunchNoticePending);
    })) << "the server's answer counts it as shown";
    EXPECT_FALSE(app::showFirstLaunchNotice(m_settings, notifications));
    EXPECT_FALSE(notified.wait(300));
}

TEST_F(FirstLaunchNoticeTest, WithoutAServiceOrABusNothingHappens) {
    desktop::DesktopNotifications notifications(QStringLiteral("org.holdfin.Holdfin"),
                                                bus(QStringLiteral("holdfin")));
    QDeadlineTimer timer(2000);
    app::showFirstLaunchNotice(m_settings, notifications); // no server: dropped silently
    EXPECT_FALSE(timer.hasExpired()) << "never waits for a service";
    desktop::DesktopNotifications nowhere(QStringLiteral("x"),
                                          QDBusConnection(QStringLiteral("not connected")));
    EXPECT_FALSE(app::showFirstLaunchNotice(m_settings, nowhere));
}

#include "first_launch_notice_test.moc"
