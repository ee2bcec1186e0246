#include "core/diagnostic_log.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QTemporaryFile>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

// Standard output goes to a file while this lives.
class CapturedStdout {
public:
    CapturedStdout() {
        EXPECT_TRUE(m_file.open());
        std::fflush(stdout);
        m_saved = ::dup(STDOUT_FILENO);
        ::dup2(m_file.handle(), STDOUT_FILENO);
    }
    ~CapturedStdout() { restore(); }

    QByteArray text() {
        restore();
        QFile file(m_file.fileName());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

private:
    void restore() {
        if (m_saved < 0)
            return;
        std::fflush(stdout);
        ::dup2(m_saved, STDOUT_FILENO);
        ::close(m_saved);
        m_saved = -1;
    }

    QTemporaryFile m_file;
    int m_saved = -1;
};

// Lines from several threads at once: each arrives whole, each thread's in its order, and all
// of them before the log is gone.
TEST(StdoutDiagnosticLog, LinesFromManyThreadsArriveWholeAndInOrder) {
    constexpr int kThreads = 4;
    constexpr int kLines = 2000;
    CapturedStdout captured;
    {
        core::StdoutDiagnosticLog log;
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([&log, t] {
                for (int i = 0; i < kLines; ++i)
                    core::print(log, QStringLiteral("thread %1 line %2 caf\u00e9").arg(t).arg(i));
            });
        }
        for (std::thread& thread : threads)
            thread.join();
    }
    const QList<QByteArray> lines = captured.text().split('\n');
    ASSERT_EQ(lines.size(), kThreads * kLines + 1);
    EXPECT_TRUE(lines.last().isEmpty());
    std::vector<int> next(kThreads, 0);
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const QList<QByteArray> words = lines[i].split(' ');
        ASSERT_EQ(words.size(), 5) << lines[i].constData();
        const int thread = words[1].toInt();
        ASSERT_TRUE(thread >= 0 && thread < kThreads);
        EXPECT_EQ(words[3].toInt(), next[thread]++) << lines[i].constData();
        EXPECT_EQ(words[4], QByteArray("caf\xc3\xa9"));
    }
}

// A reader on the other end of a pipe gets each line as it is logged, not when a buffer fills
// or the log goes.
TEST(StdoutDiagnosticLog, EachLineReachesAPipeAtOnce) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    std::FILE* writeEnd = ::fdopen(fds[1], "w"); // fully buffered, as stdout into a pipe is
    ASSERT_NE(writeEnd, nullptr);
    core::StdoutDiagnosticLog log(writeEnd);
    for (const char* line : {"Dropping 1 items", "Dropped File URL: file:///caf%C3%A9"}) {
        core::print(log, line);
        pollfd readable{fds[0], POLLIN, 0};
        ASSERT_EQ(::poll(&readable, 1, 5000), 1) << line;
        char buffer[256];
        const ssize_t count = ::read(fds[0], buffer, sizeof buffer);
        EXPECT_EQ(QByteArray(buffer, std::max<ssize_t>(count, 0)), QByteArray(line) + '\n');
    }
    std::fclose(writeEnd);
    ::close(fds[0]);
}

} // namespace

// A program started at login writes standard output to the session log: user text shows only
// on a terminal or when asked for, as its length otherwise; the line itself stays.
TEST(StdoutDiagnosticLog, ShowsUserTextOnlyOnATerminalOrWhenAsked) {
    unsetenv("HOLDFIN_LOG_CONTENT");
    const QString secret = QStringLiteral("pa55wörd 😀");
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    {
        core::StdoutDiagnosticLog log(file);
        EXPECT_EQ(core::userText(log, secret), QStringLiteral("<10 characters>"));
        EXPECT_EQ(core::userText(log, QString()), QStringLiteral("<0 characters>"));
        setenv("HOLDFIN_LOG_CONTENT", "0", 1);
        EXPECT_FALSE(core::StdoutDiagnosticLog(file).showsUserText());
        setenv("HOLDFIN_LOG_CONTENT", "1", 1);
        EXPECT_EQ(core::userText(core::StdoutDiagnosticLog(file), secret), secret);
        unsetenv("HOLDFIN_LOG_CONTENT");
    }
    std::fclose(file);

    const int pty = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(pty, 0);
    ASSERT_EQ(::grantpt(pty), 0);
    ASSERT_EQ(::unlockpt(pty), 0);
    std::FILE* terminal = std::fopen(::ptsname(pty), "w");
    ASSERT_NE(terminal, nullptr);
    EXPECT_EQ(core::userText(core::StdoutDiagnosticLog(terminal), secret), secret);
    std::fclose(terminal);
    ::close(pty);
}
