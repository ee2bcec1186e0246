// Holdfin's tray item as a StatusNotifierItem host (Plasma, Xfce's panel, GNOME's AppIndicator
// extension) sees it: a watcher of ours on a private session bus, holdfin a real process.
#include "holdfin_home.h"
#include "support/private_session_bus.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QTemporaryDir>

using namespace std::chrono_literals;
using testing_support::x11::ChildProcess;
using x11_tools::waitFor;

namespace {

// The watcher of a panel's tray, a host registered: Qt then hands the tray icon to it.
class FakeStatusNotifierWatcher final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ isHostRegistered SCRIPTABLE true)
public:
    bool isHostRegistered() const { return true; }
    QStringList items;
public slots:
    Q_SCRIPTABLE void RegisterStatusNotifierItem(const QString& service) { items << service; }
};

TEST(StatusNotifierTest, HostSeesTheNamedItemAndItsMenuWhoseEntriesWork) {
    QTemporaryDir home;
    testing_support::PrivateSessionBus bus;
    if (!bus.start())
        GTEST_SKIP() << "no dbus-daemon";
    QDBusConnection connection = bus.connect(QStringLiteral("watcher"));
    FakeStatusNotifierWatcher watcher;
    ASSERT_TRUE(connection.registerObject(QStringLiteral("/StatusNotifierWatcher"), &watcher,
                                          QDBusConnection::ExportScriptableContents));
    ASSERT_TRUE(connection.registerService(QStringLiteral("org.kde.StatusNotifierWatcher")));
    ASSERT_TRUE(x11_tools::prepareHoldfinHome(home.path(), "showMenuBarIcon=true\n"));
    // The icon where the package installs it, in the fallback icon theme.
    const QString icons = qEnvironmentVariable("XDG_DATA_HOME") + "/icons/hicolor/scalable/apps";
    ASSERT_TRUE(QDir().mkpath(icons));
    ASSERT_TRUE(QFile::copy(HOLDFIN_APP_ICON, icons + "/org.holdfin.Holdfin.svg"));
    qputenv("DBUS_SESSION_BUS_ADDRESS", bus.address().toLocal8Bit());
    auto holdfin = ChildProcess::start(HOLDFIN_EXECUTABLE, {});
    ASSERT_TRUE(holdfin);
    ASSERT_TRUE(waitFor([&] { return !watcher.items.isEmpty(); }, 10s)) << "no item registered";

    // Plain calls, as hosts make them: an interface object would introspect the item.
    auto call = [&](const QString& path, const QString& interface, const QString& method,
                    const QVariantList& arguments) {
        QDBusMessage message =
            QDBusMessage::createMethodCall(watcher.items.front(), path, interface, method);
        message.setArguments(arguments);
        return connection.call(message);
    };
    auto property = [&](const QString& name) {
        return qdbus_cast<QDBusVariant>(call("/StatusNotifierItem",
                                             "org.freedesktop.DBus.Properties", "Get",
                                             {"org.kde.StatusNotifierItem", name})
                                            .arguments()
                                            .value(0))
            .variant();
    };
    EXPECT_EQ(property("Title").toString(), "Holdfin");
    EXPECT_EQ(property("IconName").toString(), "org.holdfin.Holdfin");
    const QString menuPath = property("Menu").value<QDBusObjectPath>().path();
    ASSERT_NE(menuPath, "/NO_DBUSMENU") << "the host would draw a menu of its own";
    auto menuCall = [&](const QString& method, const QVariantList& arguments) {
        return call(menuPath, "com.canonical.dbusmenu", method, arguments);
    };
    // The top entries as a host reads them to draw the menu: label (or "---") to id.
    auto entries = [&] {
        QList<std::pair<QString, int>> found;
        const QDBusArgument layout = menuCall("GetLayout", {0, 1, QStringList()})
                                         .arguments()
                                         .value(1)
                                         .value<QDBusArgument>();
        int id = 0;
        QVariantMap properties;
        layout.beginStructure();
        layout >> id >> properties;
        layout.beginArray();
        while (!layout.atEnd()) {
            const QDBusArgument child =
                qdbus_cast<QDBusVariant>(layout).variant().value<QDBusArgument>();
            child.beginStructure();
            child >> id >> properties;
            child.endStructure();
            found.append({properties.value("type") == "separator"
                              ? "---"
                              : properties.value("label").toString(),
                          id});
        }
        layout.endArray();
        layout.endStructure();
        return found;
    };
    auto click = [&](const QString& label) {
        for (const auto& [text, id] : entries()) {
            if (text == label)
                return menuCall("Event", {id, "clicked", QVariant::fromValue(QDBusVariant(0)), 0u})
                           .type() == QDBusMessage::ReplyMessage;
        }
        return false;
    };
    QStringList labels;
    for (const auto& entry : entries())
        labels << entry.first;
    ASSERT_EQ(labels.size(), 6) << labels.join('|').toStdString();
    EXPECT_TRUE(labels.front().startsWith("Holdfin v"));
    EXPECT_EQ(labels.mid(1),
              (QStringList{"Show Shelf", "Paste to Shelf", "Preferences\u2026", "---", "Quit"}));

    const std::string panel = x11_tools::waitForPanelWindow(holdfin->pid());
    ASSERT_TRUE(click("Show Shelf"));
    EXPECT_TRUE(waitFor([&] { return x11_tools::isOnScreen(panel); }, 5s));
    EXPECT_TRUE(waitFor([&] { return click("Hide Shelf"); }, 5s)) << "offered while in sight";
    EXPECT_TRUE(waitFor([&] { return !x11_tools::isOnScreen(panel); }, 5s));
    ASSERT_TRUE(click("Quit"));
    EXPECT_EQ(holdfin->wait(10s), 0) << "Quit ends holdfin";
}

} // namespace

#include "status_notifier_test.moc"
