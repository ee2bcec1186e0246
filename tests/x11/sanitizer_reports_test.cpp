#include "support/x11/sanitizer_reports.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <ostream>

using namespace testing_support::x11;

namespace {

struct LogPathCase {
    const char* name;
    std::vector<std::string> environment;
    std::string sanitizer;
    std::vector<std::string> expected;
};

void PrintTo(const LogPathCase& c, std::ostream* os) {
    *os << c.name;
}

class SanitizerLogPath : public testing::TestWithParam<LogPathCase> {};

TEST_P(SanitizerLogPath, MergesAfterTheOptionsAlreadySet) {
    const LogPathCase& c = GetParam();
    EXPECT_EQ(withSanitizerLogPath(c.environment, c.sanitizer, "/r/holdfin"), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SanitizerLogPath,
    testing::Values(
        LogPathCase{"NoSanitizer",
                    {"PATH=/bin", "ASAN_OPTIONS=detect_leaks=1"},
                    "",
                    {"PATH=/bin", "ASAN_OPTIONS=detect_leaks=1"}},
        LogPathCase{"AddressWithOptionsSet",
                    {"PATH=/bin", "ASAN_OPTIONS=detect_leaks=1", "UBSAN_OPTIONS=print_stacktrace=0",
                     "TSAN_OPTIONS=x=1"},
                    "address",
                    {"PATH=/bin", "TSAN_OPTIONS=x=1",
                     "ASAN_OPTIONS=detect_leaks=1:log_path=/r/holdfin",
                     "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:print_stacktrace=0:"
                     "log_path=/r/holdfin"}},
        LogPathCase{"AddressWithNothingSet",
                    {"ASAN_OPTIONS="},
                    "address",
                    {"ASAN_OPTIONS=log_path=/r/holdfin",
                     "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:log_path=/r/holdfin"}},
        LogPathCase{
            "ThreadKeepsSuppressions",
            {"TSAN_OPTIONS=suppressions=/s/tsan.supp", "ASAN_OPTIONS_X=1"},
            "thread",
            {"ASAN_OPTIONS_X=1", "TSAN_OPTIONS=suppressions=/s/tsan.supp:log_path=/r/holdfin"}}),
    [](const testing::TestParamInfo<LogPathCase>& info) { return info.param.name; });

TEST(SanitizerReports, FindsUndefinedBehaviourAmongOtherOutput) {
    const std::string report = "a.cpp:3:9: runtime error: signed integer overflow\n"
                               "    #0 0x1 in main a.cpp:3\n";
    EXPECT_EQ(undefinedBehaviourReport("qt.qpa: warning\n" + report), report);
    EXPECT_EQ(undefinedBehaviourReport(report), report);
    EXPECT_EQ(undefinedBehaviourReport(""), "");
    EXPECT_EQ(undefinedBehaviourReport("qt.qpa: warning\nruntime: ok\n"), "");
}

void write(const QString& path, const std::string& text) {
    std::ofstream(path.toStdString()) << text;
}

pid_t endedProcess() {
    const pid_t pid = fork();
    if (pid == 0)
        _exit(0);
    waitpid(pid, nullptr, 0);
    return pid;
}

TEST(SanitizerReports, TakesReportsOfTheChildAndOfEndedProcessesOnce) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const pid_t running = getpid();
    const pid_t ended = endedProcess();
    const pid_t child = endedProcess(); // stands for the child that has just ended
    const auto name = [](const char* program, pid_t pid) {
        return std::string(program) + "." + std::to_string(pid);
    };
    write(folder.filePath(QString::fromStdString(name("holdfin", child))), "use after free");
    write(folder.filePath(QString::fromStdString(name("helper", ended))), "leak");
    write(folder.filePath(QString::fromStdString(name("holdfin", running))), "still writing");
    write(folder.filePath("holdfin.notapid"), "no pid");

    auto reports = takeSanitizerReports(folder.path().toStdString(), child);
    std::sort(reports.begin(), reports.end(),
              [](const auto& a, const auto& b) { return a.fileName < b.fileName; });
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].fileName, name("helper", ended));
    EXPECT_EQ(reports[0].text, "leak");
    EXPECT_EQ(reports[1].fileName, name("holdfin", child));
    EXPECT_EQ(reports[1].text, "use after free");

    EXPECT_TRUE(takeSanitizerReports(folder.path().toStdString(), child).empty());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 2);
}

} // namespace
