// The shelf from the terminal and from scripts, through real processes: holdfin on a private X
// server and a private session bus, `holdfin <command>` runs beside it, and calls on the bus.
#include "holdfin_home.h"
#include "support/x11/child_process.h"
#include "support/x11/xvfb_session.h"
#include "x11_tools.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QDBusReply>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

using namespace std::chrono_literals;
using testing_support::x11::ChildProcess;

namespace {

const QString kName = QStringLiteral("org.holdfin.Holdfin");
const QString kPath = QStringLiteral("/org/holdfin/Holdfin");

// The signals of org.holdfin.Shelf1 that arrived, by name.
class SignalRecorder final : public QObject {
    Q_OBJECT
public:
    QStringList names;
public slots:
    void record(const QDBusMessage& signal) { names << signal.member(); }
};

struct Outcome {
    int status = -1;
    QByteArray out, err;
};

class CommandLineProcessTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_home.isValid() && x11_tools::prepareHoldfinHome(m_home.path()));
        if (auto error = m_session.start())
            GTEST_SKIP() << *error;
        m_services = qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/dbus-1/services");
        ASSERT_TRUE(QDir().mkpath(m_services));
        m_daemon =
            ChildProcess::start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        const auto address = m_daemon ? m_daemon->readLine(5s) : std::nullopt;
        if (!address)
            GTEST_SKIP() << "no dbus-daemon";
        setenv("DBUS_SESSION_BUS_ADDRESS", address->c_str(), 1);
        m_bus = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(
            QString::fromStdString(*address), QStringLiteral("test")));
        qDBusRegisterMetaType<QList<QVariantMap>>();
    }
    void TearDown() override {
        m_bus.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("test"));
    }

    bool isRunning() { return m_bus->interface()->isServiceRegistered(kName); }
    void startHoldfin() {
        m_holdfin = ChildProcess::start(HOLDFIN_EXECUTABLE, {});
        ASSERT_TRUE(x11_tools::waitFor([this] { return isRunning(); }, 20s));
    }
    // `holdfin args...` in `directory`, to its end.
    static Outcome holdfin(const QStringList& args, const QByteArray& input = {},
                           const QString& directory = {}) {
        QProcess process;
        process.setWorkingDirectory(directory);
        process.start(QStringLiteral(HOLDFIN_EXECUTABLE), args);
        process.write(input);
        process.closeWriteChannel();
        if (!process.waitForFinished(60000))
            return {};
        return {process.exitCode(), process.readAllStandardOutput(),
                process.readAllStandardError()};
    }
    // The running holdfin's lines up to and with the one that ends a drop.
    std::vector<std::string> dropLines() {
        std::vector<std::string> lines;
        while (auto line = m_holdfin->readLine(10s)) {
            lines.push_back(*line);
            if (line->starts_with("Dropping ") || line->starts_with("Received 0"))
                break;
        }
        return lines;
    }
    QJsonArray listed() {
        return QJsonDocument::fromJson(
                   holdfin({QStringLiteral("list"), QStringLiteral("--json")}).out)
            .array();
    }

    QTemporaryDir m_home;
    testing_support::x11::XvfbSession m_session;
    std::unique_ptr<ChildProcess> m_daemon;
    std::unique_ptr<QDBusConnection> m_bus;
    std::unique_ptr<ChildProcess> m_holdfin;
    QString m_services;
};

TEST_F(CommandLineProcessTest, helpVersionAndUsageErrorsNeitherStartNorTouchHoldfin) {
    const struct {
        QStringList args;
        int status;
        QByteArray out, err; // what each begins with
    } cases[] = {
        {{"--help"}, 0, "Usage: holdfin [options] [command]", ""},
        {{"--version"}, 0, "holdfin " HOLDFIN_VERSION "\n", ""},
        {{"add", "--help"}, 0, "Usage: holdfin [options] add [PATH|URL|-]...", ""},
        {{"--bogus"}, 2, "", "holdfin: Unknown option 'bogus'.\nUsage: holdfin"},
        {{"frob"}, 2, "", "holdfin: Unknown command 'frob'.\nUsage: holdfin"},
        {{"list", "--split"}, 2, "", "holdfin: Unknown option 'split'.\nUsage: holdfin"},
        {{"remove", "first"}, 2, "", "holdfin: 'first' is no entry position.\nUsage:"},
    };
    for (const bool isHoldfinRunning : {false, true}) {
        if (isHoldfinRunning) {
            ASSERT_NO_FATAL_FAILURE(startHoldfin());
        }
        for (const auto& c : cases) {
            const Outcome run = holdfin(c.args);
            EXPECT_EQ(run.status, c.status) << c.args.join(' ').toStdString();
            EXPECT_TRUE(run.out.startsWith(c.out) && (c.out.isEmpty() == run.out.isEmpty()))
                << run.out.toStdString();
            EXPECT_TRUE(run.err.startsWith(c.err) && (c.err.isEmpty() == run.err.isEmpty()))
                << run.err.toStdString();
        }
        EXPECT_EQ(isRunning(), isHoldfinRunning) << "none was started";
    }
    EXPECT_EQ(m_holdfin->readLine(500ms), std::nullopt) << "the running one heard nothing";
}

TEST_F(CommandLineProcessTest, theTerminalIsAnsweredInTheSessionsLanguage) {
    qputenv("LANGUAGE", "de"); // the children's
    const Outcome help = holdfin({QStringLiteral("--help")});
    const Outcome wrong = holdfin({QStringLiteral("remove")});
    qunsetenv("LANGUAGE");
    EXPECT_TRUE(help.out.contains("  -h, --help     Gibt diese Hilfe aus.\n"))
        << help.out.toStdString();
    EXPECT_TRUE(wrong.err.startsWith("holdfin: remove braucht die Position eines Eintrags.\n"))
        << wrong.err.toStdString();
}

TEST_F(CommandLineProcessTest, addParksFilesAsADropDoesAndPathsGivesTheirBytes) {
    ASSERT_NO_FATAL_FAILURE(startHoldfin());
    QTemporaryDir folder;
    QByteArray expected;
    for (const QByteArray name : {"with space.txt", "new\nline.png", "latin-\xe9\xff.txt"}) {
        const QByteArray path = QFile::encodeName(folder.path()) + '/' + name;
        ASSERT_EQ(::close(::creat(path.constData(), 0600)), 0);
        expected += path + '\0';
    }
    // Through a shell: the bytes of the third name are no text QProcess could pass on.
    QProcess add;
    add.setWorkingDirectory(folder.path());
    add.start(QStringLiteral("/bin/sh"),
              {QStringLiteral("-c"),
               QStringLiteral("exec \"$0\" add 'with space.txt' \"$(printf 'new\\nline.png')\" "
                              "\"$(printf 'latin-\\351\\377.txt')\""),
               QStringLiteral(HOLDFIN_EXECUTABLE)});
    ASSERT_TRUE(add.waitForFinished(60000));
    EXPECT_EQ(add.exitCode(), 0);
    EXPECT_EQ(add.readAll() + add.readAllStandardError(), QByteArray());
    for (const QByteArray& path : expected.split('\0'))
        ::unlink(path.constData()); // names QTemporaryDir cannot remove

    const std::vector<std::string> lines = dropLines();
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines.back(), "Dropping 3 items");
    EXPECT_THAT(lines, testing::Contains(testing::HasSubstr("\"public.png\"")));
    EXPECT_THAT(lines, testing::Contains(testing::HasSubstr("with%20space.txt")));

    EXPECT_EQ(holdfin({"paths", "-0"}).out, expected);
    EXPECT_TRUE(holdfin({"list"}).out.startsWith("1\tfiles\t3 files\t"));
    EXPECT_TRUE(x11_tools::waitFor([&] {
        return !x11_tools::trimmed(x11_tools::output("xdotool", {"search", "--onlyvisible", "--pid",
                                                                 std::to_string(m_holdfin->pid())}))
                    .empty();
    })) << "adding shows the shelf";
}

TEST_F(CommandLineProcessTest, listJsonRoundTripsEveryKindAndAMissingPathParksNothing) {
    ASSERT_NO_FATAL_FAILURE(startHoldfin());
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("a.txt"));
    ASSERT_TRUE(QFile(file).open(QIODevice::WriteOnly));
    const QString link = QStringLiteral("https://example.org/a?b=c");
    const QString text = QStringLiteral("Grüße\nzweite Zeile");

    const Outcome missing = holdfin({"add", file, QStringLiteral("gone.txt")}, {}, folder.path());
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "holdfin: no such file: gone.txt\n");
    EXPECT_EQ(holdfin({"remove", "1"}).status, 1) << "nothing was parked";

    ASSERT_EQ(holdfin({"add", "--split", file, link}).status, 0);
    ASSERT_EQ(holdfin({"add", "-"}, text.toUtf8()).status, 0);
    ASSERT_EQ(holdfin({"add", "--text", QStringLiteral("second")}).status, 0);
    const QJsonArray entries = listed();
    ASSERT_EQ(entries.size(), 4) << QJsonDocument(entries).toJson().toStdString();
    const auto payload = [&](int i) {
        return entries[i][QStringLiteral("payloads")][0].toObject();
    };
    EXPECT_EQ(payload(0)[QStringLiteral("text")].toString(), QStringLiteral("second"));
    EXPECT_EQ(payload(1)[QStringLiteral("text")].toString(), text);
    EXPECT_EQ(entries[1][QStringLiteral("kind")].toString(), QStringLiteral("text"));
    EXPECT_EQ(payload(2)[QStringLiteral("path")].toString(), file) << "split keeps the order";
    EXPECT_EQ(entries[2][QStringLiteral("kind")].toString(), QStringLiteral("files"));
    EXPECT_EQ(payload(3)[QStringLiteral("url")].toString(), link);
    EXPECT_EQ(entries[3][QStringLiteral("kind")].toString(), QStringLiteral("links"));

    EXPECT_EQ(holdfin({"remove", "1"}).status, 0);
    EXPECT_EQ(holdfin({"clear"}).status, 0);
    EXPECT_TRUE(x11_tools::waitFor([&] { return listed().isEmpty(); }));
    // Undone as after the trash button: Ctrl+Z with the pointer over the shelf.
    const std::string panel = x11_tools::trimmed(x11_tools::output(
        "xdotool", {"search", "--onlyvisible", "--pid", std::to_string(m_holdfin->pid())}));
    const x11_tools::WindowPlace place = x11_tools::windowPlace(panel);
    ChildProcess::run("xdotool", {"mousemove", std::to_string(place.x + place.width / 2),
                                  std::to_string(place.y + place.height / 2)});
    ChildProcess::run("xdotool", {"key", "ctrl+z"});
    EXPECT_TRUE(x11_tools::waitFor([&] { return listed().size() == 3; }, 5s));
}

TEST_F(CommandLineProcessTest, theBusAnswersOpenListAndActionsAndSignalsChanges) {
    ASSERT_NO_FATAL_FAILURE(startHoldfin());
    SignalRecorder recorder;
    for (const char* name : {"EntriesAdded", "EntriesRemoved"}) {
        ASSERT_TRUE(m_bus->connect(kName, kPath, QStringLiteral("org.holdfin.Shelf1"),
                                   QLatin1String(name), &recorder, SLOT(record(QDBusMessage))));
    }
    const QString uri = QStringLiteral("https://example.org/opened");
    QDBusMessage open = QDBusMessage::createMethodCall(
        kName, kPath, QStringLiteral("org.freedesktop.Application"), QStringLiteral("Open"));
    open << QStringList{uri} << QVariantMap();
    EXPECT_EQ(m_bus->call(open).type(), QDBusMessage::ReplyMessage);
    ASSERT_EQ(dropLines().back(), "Dropping 1 items");

    const QDBusReply<QList<QVariantMap>> list = m_bus->call(QDBusMessage::createMethodCall(
        kName, kPath, QStringLiteral("org.holdfin.Shelf1"), QStringLiteral("List")));
    ASSERT_TRUE(list.isValid()) << list.error().message().toStdString();
    ASSERT_EQ(list.value().size(), 1);
    EXPECT_EQ(list.value()[0][QStringLiteral("contents")].toStringList(), QStringList{uri});
    EXPECT_EQ(holdfin({"clear"}).status, 0);
    EXPECT_TRUE(x11_tools::waitFor([&] { return recorder.names.size() == 2; }, 5s));
    EXPECT_EQ(recorder.names, (QStringList{"EntriesAdded", "EntriesRemoved"}));

    QDBusMessage action =
        QDBusMessage::createMethodCall(kName, kPath, QStringLiteral("org.freedesktop.Application"),
                                       QStringLiteral("ActivateAction"));
    action << QStringLiteral("bogus") << QVariantList() << QVariantMap();
    EXPECT_EQ(m_bus->call(action).type(), QDBusMessage::ErrorMessage);
    action.setArguments({QStringLiteral("quit"), QVariantList(), QVariantMap()});
    m_bus->call(action);
    EXPECT_EQ(m_holdfin->wait(10s), 0);
}

// A command starts Holdfin when none runs: through the bus's activation where the service is
// installed, else itself.
TEST_F(CommandLineProcessTest, aCommandStartsHoldfinThroughTheBusOrItself) {
    for (const bool isActivatable : {true, false}) {
        QFile service(m_services + QStringLiteral("/org.holdfin.Holdfin.service"));
        if (isActivatable) {
            QFile in(QStringLiteral(HOLDFIN_SOURCE_DIR
                                    "/resources/dbus/org.holdfin.Holdfin.service.in"));
            ASSERT_TRUE(in.open(QIODevice::ReadOnly) && service.open(QIODevice::WriteOnly));
            service.write(in.readAll().replace("@HOLDFIN_INSTALLED_BINARY@", HOLDFIN_EXECUTABLE));
            service.close();
            QDBusMessage reload = QDBusMessage::createMethodCall(
                QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                QStringLiteral("org.freedesktop.DBus"), QStringLiteral("ReloadConfig"));
            m_bus->call(reload);
        } else {
            service.remove();
        }
        const Outcome show = holdfin({"show"});
        EXPECT_EQ(show.status, 0) << show.err.toStdString();
        EXPECT_TRUE(isRunning());
        // Activated, the bus started it: it is in the bus daemon's process group.
        QFile stat(
            QStringLiteral("/proc/%1/stat").arg(m_bus->interface()->servicePid(kName).value()));
        ASSERT_TRUE(stat.open(QIODevice::ReadOnly));
        const int group = stat.readAll().split(')').value(1).split(' ').value(3).toInt();
        EXPECT_EQ(group == m_daemon->pid(), isActivatable);
        // Either way it is ours to end.
        QDBusMessage quit = QDBusMessage::createMethodCall(
            kName, kPath, QStringLiteral("org.freedesktop.Application"),
            QStringLiteral("ActivateAction"));
        quit << QStringLiteral("quit") << QVariantList() << QVariantMap();
        m_bus->call(quit);
        EXPECT_TRUE(x11_tools::waitFor([this] { return !isRunning(); }, 10s));
    }
}

} // namespace

#include "command_line_process_test.moc"

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
