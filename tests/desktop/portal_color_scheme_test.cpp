#include "desktop/portal_color_scheme.h"

#include "support/private_session_bus.h"

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QSignalSpy>

namespace {

using desktop::ColorScheme;

// The desktop portal's settings object as the portal serves it: Read answers the value
// wrapped in two variants.
class FakePortalSettings final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")
public:
    uint colorScheme = 0;

public slots:
    Q_SCRIPTABLE QDBusVariant Read(const QString& group, const QString& key) {
        if (group == QLatin1String("org.freedesktop.appearance") &&
            key == QLatin1String("color-scheme"))
            return QDBusVariant(QVariant::fromValue(QDBusVariant(colorScheme)));
        return QDBusVariant(QVariant::fromValue(QDBusVariant(QString())));
    }
};

// A private session bus with a portal on it.
class PortalColorSchemeTest : public testing::Test {
protected:
    void SetUp() override {
        if (!m_daemon.start())
            GTEST_SKIP() << "no dbus-daemon";
        m_address = m_daemon.address();
        m_portalBus.emplace(QDBusConnection::connectToBus(m_address, QStringLiteral("portal")));
        ASSERT_TRUE(m_portalBus->isConnected());
    }

    void TearDown() override {
        if (m_portalBus)
            QDBusConnection::disconnectFromBus(QStringLiteral("portal"));
        QDBusConnection::disconnectFromBus(QStringLiteral("client"));
    }

    void startPortal() {
        ASSERT_TRUE(m_portalBus->registerObject(QStringLiteral("/org/freedesktop/portal/desktop"),
                                                &m_settings,
                                                QDBusConnection::ExportScriptableSlots));
        ASSERT_TRUE(m_portalBus->registerService(QStringLiteral("org.freedesktop.portal.Desktop")));
    }

    void emitSettingChanged(const QString& group, uint value) {
        QDBusMessage signal = QDBusMessage::createSignal(
            QStringLiteral("/org/freedesktop/portal/desktop"),
            QStringLiteral("org.freedesktop.portal.Settings"), QStringLiteral("SettingChanged"));
        signal << group << QStringLiteral("color-scheme")
               << QVariant::fromValue(QDBusVariant(value));
        m_portalBus->send(signal);
    }

    QDBusConnection clientBus() {
        return QDBusConnection::connectToBus(m_address, QStringLiteral("client"));
    }

    FakePortalSettings m_settings;

private:
    testing_support::PrivateSessionBus m_daemon;
    QString m_address;
    std::optional<QDBusConnection> m_portalBus;
};

TEST_F(PortalColorSchemeTest, ReadsThePreferenceAndFollowsItsChanges) {
    m_settings.colorScheme = 1;
    startPortal();
    desktop::PortalColorScheme portal(clientBus());
    QSignalSpy changes(&portal, &desktop::DesktopColorScheme::preferenceChanged);

    ASSERT_TRUE(changes.wait(5000));
    EXPECT_EQ(portal.preference(), ColorScheme::Dark);

    emitSettingChanged(QStringLiteral("org.freedesktop.other"), 2);
    emitSettingChanged(QStringLiteral("org.freedesktop.appearance"), 2);
    ASSERT_TRUE(changes.wait(5000));
    EXPECT_EQ(portal.preference(), ColorScheme::Light);
    EXPECT_EQ(changes.count(), 2) << "other settings are ignored";

    emitSettingChanged(QStringLiteral("org.freedesktop.appearance"), 0);
    ASSERT_TRUE(changes.wait(5000));
    EXPECT_EQ(portal.preference(), std::nullopt);
}

TEST_F(PortalColorSchemeTest, WithoutAPortalStatesNoPreference) {
    desktop::PortalColorScheme portal(clientBus());
    QSignalSpy changes(&portal, &desktop::DesktopColorScheme::preferenceChanged);

    EXPECT_FALSE(changes.wait(500));
    EXPECT_EQ(portal.preference(), std::nullopt);
}

TEST(PortalColorSchemeWithoutBus, StatesNoPreference) {
    desktop::PortalColorScheme portal(
        QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent"), "none"));
    EXPECT_EQ(portal.preference(), std::nullopt);
    QDBusConnection::disconnectFromBus(QStringLiteral("none"));
}

} // namespace

#include "portal_color_scheme_test.moc"
