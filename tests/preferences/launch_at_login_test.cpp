#include "preferences/launch_at_login.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

using preferences::XdgAutostart;

namespace {

// Points XDG_CONFIG_HOME at a temporary folder for the test's lifetime.
class LaunchAtLoginTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(configHome.isValid());
        m_previous = qgetenv("XDG_CONFIG_HOME");
        m_hadPrevious = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    }
    void TearDown() override {
        if (m_hadPrevious)
            qputenv("XDG_CONFIG_HOME", m_previous);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }

    QString entryPath() const {
        return configHome.filePath(QStringLiteral("autostart/holdfin.desktop"));
    }

    static QString readAll(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    // desktop-file-validate's complaints about `path`; nothing when the tool is missing.
    static std::optional<QString> validatorComplaints(const QString& path) {
        const QString validator =
            QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
        if (validator.isEmpty())
            return std::nullopt;
        QProcess process;
        process.start(validator, {path});
        process.waitForFinished();
        const QString output =
            QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
        return process.exitCode() == 0 && output.trimmed().isEmpty() ? QString() : output;
    }

    QTemporaryDir configHome;

private:
    QByteArray m_previous;
    bool m_hadPrevious = false;
};

} // namespace

TEST_F(LaunchAtLoginTest, RegisteringWritesAValidEntryStartingTheRunningBinary) {
    XdgAutostart loginItem;
    EXPECT_EQ(loginItem.entryPath(), entryPath());
    ASSERT_TRUE(loginItem.enable());
    const QString text = readAll(entryPath());
    EXPECT_TRUE(text.startsWith(QStringLiteral("[Desktop Entry]\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\nExec=") + QCoreApplication::applicationFilePath() +
                              QStringLiteral("\n")))
        << text.toStdString();
    if (auto complaints = validatorComplaints(entryPath())) {
        EXPECT_EQ(*complaints, QString()) << text.toStdString();
    }
}

TEST_F(LaunchAtLoginTest, UnregisteringRemovesTheEntryAndIsDoneWhenThereIsNone) {
    XdgAutostart loginItem;
    ASSERT_TRUE(loginItem.enable());
    ASSERT_TRUE(QFile::exists(entryPath()));
    EXPECT_TRUE(loginItem.disable());
    EXPECT_FALSE(QFile::exists(entryPath()));
    EXPECT_TRUE(loginItem.disable());
}

TEST_F(LaunchAtLoginTest, RegisteredWhileTheEntryIsThereAndNotTurnedOff) {
    XdgAutostart loginItem;
    EXPECT_FALSE(loginItem.isEnabled());
    ASSERT_TRUE(loginItem.enable());
    EXPECT_TRUE(loginItem.isEnabled());
    for (const char* off : {"Hidden=true", "X-GNOME-Autostart-enabled=false"}) {
        QFile file(entryPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("[Desktop Entry]\nType=Application\nExec=holdfin\n") + off + '\n');
        file.close();
        EXPECT_FALSE(loginItem.isEnabled()) << off;
    }
    ASSERT_TRUE(QFile::remove(entryPath()));
    EXPECT_FALSE(loginItem.isEnabled()) << "deleted by the desktop's session settings";
}

TEST_F(LaunchAtLoginTest, RegisteringAgainReplacesTheEntry) {
    ASSERT_TRUE(XdgAutostart(QStringLiteral("holdfin"), QStringLiteral("/old/holdfin")).enable());
    ASSERT_TRUE(XdgAutostart(QStringLiteral("holdfin"), QStringLiteral("/new/holdfin")).enable());
    const QString text = readAll(entryPath());
    EXPECT_TRUE(text.contains(QStringLiteral("Exec=/new/holdfin\n")));
    EXPECT_FALSE(text.contains(QStringLiteral("/old/")));
}

TEST_F(LaunchAtLoginTest, ExecQuotesAndEscapesWhatTheShellOrFieldCodesWouldTakeApart) {
    struct Case {
        QString executable;
        QString execLine;
    };
    const Case cases[] = {
        {"/usr/bin/holdfin", "Exec=/usr/bin/holdfin"},
        {"/opt/My Apps/holdfin", "Exec=\"/opt/My Apps/holdfin\""},
        {"/opt/100%/holdfin", "Exec=/opt/100%%/holdfin"},
        {"/opt/a\"b$c`d/holdfin", "Exec=\"/opt/a\\\\\"b\\\\$c\\\\`d/holdfin\""},
        {"/opt/back\\slash/holdfin", "Exec=\"/opt/back\\\\\\\\slash/holdfin\""},
    };
    for (const Case& c : cases) {
        XdgAutostart loginItem(QStringLiteral("holdfin"), c.executable);
        ASSERT_TRUE(loginItem.enable()) << c.executable.toStdString();
        const QString text = readAll(entryPath());
        EXPECT_TRUE(text.contains(QStringLiteral("\n") + c.execLine + QStringLiteral("\n")))
            << text.toStdString();
        if (auto complaints = validatorComplaints(entryPath())) {
            EXPECT_EQ(*complaints, QString()) << text.toStdString();
        }
    }
}

TEST_F(LaunchAtLoginTest, FailuresAreReportedAndLeaveNothingBehind) {
    // A control character cannot be written into an entry: nothing is written at all.
    XdgAutostart newline(QStringLiteral("holdfin"), QStringLiteral("/opt/a\nb/holdfin"));
    EXPECT_FALSE(newline.enable());
    EXPECT_FALSE(QFile::exists(entryPath()));

    // A file where the autostart folder belongs.
    QFile blocker(configHome.filePath(QStringLiteral("autostart")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(XdgAutostart().enable());
}
