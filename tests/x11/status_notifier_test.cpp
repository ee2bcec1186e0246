// Holdfin's tray item as a StatusNotifierItem host (Plasma, Xfce's panel, GNOME's AppIndicator
// extension) sees it: a watcher of ours on a private session bus, holdfin a real process.
#include "support/private_session_bus.h"
#include "support/qt_printers.h"
#include "support/x11/child_process.h"
#include "holdfin_home.h"
#include "x11_tools.h"

#include <gtest/gtest.h>

#include <QDBusArgument>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

using namespace std::chrono_literals;
using testing_support::x11::ChildProcess;

namespace {

// The watcher a panel's tray runs, with a host registered: Qt then gives the tray icon to it.
class FakeStatusNotifierWatcher final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ isHostRegistered SCRIPTABLE true)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion SCRIPTABLE true)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items SCRIPTABLE true)
public:
    bool isHostRegistered() const { return true; }
    int protocolVersion() const { return 0; }
    QStringList items() const { return m_items; }

public slots:
    Q_SCRIPTABLE void RegisterStatusNotifierItem(const QString& service) { m_items << service; }

private:
    QStringList m_items;
};

// A dbusmenu entry: its id, label (or "---" for a separator) and children.
struct MenuEntry {
    int id = 0;
    QString label;
    QList<MenuEntry> children;
};

MenuEntry readEntry(const QDBusArgument& argument) {
    MenuEntry entry;
    QVariantMap properties;
    argument.beginStructure();
    argument >> entry.id >> properties;
    entry.label = properties.value(QStringLiteral("type")) == QStringLiteral("separator")
                      ? QStringLiteral("---")
                      : properties.value(QStringLiteral("label")).toString();
    argument.beginArray();
    while (!argument.atEnd()) {
        QDBusVariant child;
        argument >> child;
        entry.children << readEntry(child.variant().value<QDBusArgument>());
    }
    argument.endArray();
    argument.endStructure();
    return entry;
}

class StatusNotifierTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_home.isValid());
        if (!m_bus.start())
            GTEST_SKIP() << "no dbus-daemon";
        m_connection = m_bus.connect(QStringLiteral("watcher"));
        ASSERT_TRUE(m_connection.registerObject(
            QStringLiteral("/StatusNotifierWatcher"), &m_watcher,
            QDBusConnection::ExportScriptableSlots | QDBusConnection::ExportScriptableProperties));
        ASSERT_TRUE(m_connection.registerService(QStringLiteral("org.kde.StatusNotifierWatcher")));
        ASSERT_TRUE(writeFile(m_home.filePath(QStringLiteral("config/holdfin/holdfin.conf")),
                              "[General]\nhasLaunchedBefore=true\nlaunchAtLogin=false\n"
                              "selectedAppearance=Light\nshowMenuBarIcon=true\n"));
        // The icon as the package installs it, in the icon theme's fallback theme.
        QFile icon(QStringLiteral(HOLDFIN_APP_ICON));
        ASSERT_TRUE(icon.open(QIODevice::ReadOnly));
        ASSERT_TRUE(
            writeFile(qEnvironmentVariable("XDG_DATA_HOME") +
                          QStringLiteral("/icons/hicolor/scalable/apps/org.holdfin.Holdfin.svg"),
                      icon.readAll()));
        setenv("XDG_CONFIG_HOME", m_home.filePath(QStringLiteral("config")).toLocal8Bit(), 1);
        setenv("XDG_CACHE_HOME", m_home.filePath(QStringLiteral("cache")).toLocal8Bit(), 1);
        setenv("DBUS_SESSION_BUS_ADDRESS", m_bus.address().toLocal8Bit(), 1);
        m_holdfin = ChildProcess::start(HOLDFIN_EXECUTABLE, {});
        ASSERT_TRUE(m_holdfin);
        ASSERT_TRUE(x11_tools::waitFor([&] { return !m_watcher.items().isEmpty(); }, 10s))
            << "holdfin registered no item with the watcher";
        m_service = m_watcher.items().front();
    }

    static bool writeFile(const QString& path, const QByteArray& content) {
        QFile file(path);
        return QDir().mkpath(QFileInfo(path).absolutePath()) && file.open(QIODevice::WriteOnly) &&
               file.write(content) == content.size();
    }
    QVariant itemProperty(const char* name) {
        QDBusInterface item(m_service, QStringLiteral("/StatusNotifierItem"),
                            QStringLiteral("org.kde.StatusNotifierItem"), m_connection);
        return item.property(name);
    }
    // The menu's entries, as a host reads them to draw the menu.
    MenuEntry layout() {
        QDBusMessage call = QDBusMessage::createMethodCall(m_service, m_menuPath,
                                                           QStringLiteral("com.canonical.dbusmenu"),
                                                           QStringLiteral("GetLayout"));
        call << 0 << -1 << QStringList();
        const QDBusMessage reply = m_connection.call(call);
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 2)
            return {};
        return readEntry(reply.arguments().at(1).value<QDBusArgument>());
    }
    QStringList labels() {
        QStringList texts;
        for (const MenuEntry& entry : layout().children)
            texts << entry.label;
        return texts;
    }
    // Clicks the entry labelled `label`, as a host does when it is chosen; false if none is.
    bool click(const QString& label) {
        for (const MenuEntry& entry : layout().children) {
            if (entry.label != label)
                continue;
            QDBusMessage event = QDBusMessage::createMethodCall(
                m_service, m_menuPath, QStringLiteral("com.canonical.dbusmenu"),
                QStringLiteral("Event"));
            event << entry.id << QStringLiteral("clicked") << QVariant::fromValue(QDBusVariant(0))
                  << 0u;
            return m_connection.call(event).type() == QDBusMessage::ReplyMessage;
        }
        return false;
    }

    QTemporaryDir m_home;
    testing_support::PrivateSessionBus m_bus;
    QDBusConnection m_connection{QStringLiteral("none")};
    FakeStatusNotifierWatcher m_watcher;
    std::unique_ptr<ChildProcess> m_holdfin;
    QString m_service;
    QString m_menuPath;
};

} // namespace

TEST_F(StatusNotifierTest, HostSeesTheNamedItemAndItsMenuWhoseEntriesWork) {
    EXPECT_EQ(itemProperty("Title").toString(), QStringLiteral("Holdfin"));
    EXPECT_EQ(itemProperty("IconName").toString(), QStringLiteral("org.holdfin.Holdfin"));
    m_menuPath = itemProperty("Menu").value<QDBusObjectPath>().path();
    ASSERT_FALSE(m_menuPath.isEmpty());
    ASSERT_NE(m_menuPath, QStringLiteral("/NO_DBUSMENU")) << "the host would draw its own menu";
    const QStringList entries = labels();
    ASSERT_EQ(entries.size(), 6) << entries.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(entries.front().startsWith(QStringLiteral("Holdfin v")));
    EXPECT_EQ(entries.mid(1),
              (QStringList{"Show Shelf", "Paste to Shelf", "Preferences\u2026", "---", "Quit"}));

    const std::string panel = x11_tools::waitForPanelWindow(m_holdfin->pid());
    ASSERT_FALSE(panel.empty());
    ASSERT_TRUE(click(QStringLiteral("Show Shelf")));
    EXPECT_TRUE(x11_tools::waitFor([&] { return x11_tools::isOnScreen(panel); }, 5s));
    EXPECT_TRUE(x11_tools::waitFor([&] { return labels().contains("Hide Shelf"); }, 5s))
        << "the entry offers to hide the shelf in sight";
    ASSERT_TRUE(click(QStringLiteral("Hide Shelf")));
    EXPECT_TRUE(x11_tools::waitFor([&] { return !x11_tools::isOnScreen(panel); }, 5s));

    ASSERT_TRUE(click(QStringLiteral("Quit")));
    EXPECT_EQ(m_holdfin->wait(10s), 0) << "Quit ends holdfin";
}

#include "status_notifier_test.moc"
