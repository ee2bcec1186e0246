#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>
#include <vector>

// Sanitizer reports of the programs the tests start. In a sanitizer build every child writes its
// reports into a folder of this test process instead of to its standard error, which the tests
// mostly discard or parse; ChildProcess fails the running test with each report it finds there
// once the child has ended.
namespace testing_support::x11 {

struct SanitizerReport {
    std::string fileName; // "<program>.<pid>", as the sanitizer names it
    std::string text;
};

// "address", "thread", or empty when this build has no sanitizer.
std::string_view buildSanitizer();

// `environment` ("NAME=value" entries) with the options that make a child built with
// `sanitizer` write its reports to "<logPath>.<pid>", merged after the options already set
// there (which they override for the log path alone). Unchanged for an empty `sanitizer`.
std::vector<std::string> withSanitizerLogPath(std::vector<std::string> environment,
                                              std::string_view sanitizer,
                                              const std::string& logPath);

// Reads and removes the reports in `folder` written by `pid` or by any process that no longer
// exists; reports of processes still running stay, as they may still be written.
std::vector<SanitizerReport> takeSanitizerReports(const std::string& folder, pid_t pid);

// Where UndefinedBehaviorSanitizer's report starts in `stderrText`, from the line with the first
// "runtime error:" on; empty when there is none. GCC links that sanitizer as a runtime of its
// own beside AddressSanitizer's, and its log path then never takes effect: its reports go to
// standard error whatever the options say.
std::string undefinedBehaviourReport(const std::string& stderrText);

// The environment of this process for a child started as `program`, with the log path into
// this process's report folder in a sanitizer build.
std::vector<std::string> childEnvironment(const std::string& program);
// A new file in this process's report folder for the standard error of a child started as
// `program`, so that reports printed there can be read; empty outside sanitizer builds.
std::string childStderrPath(const std::string& program);
// takeSanitizerReports() on this process's report folder; empty outside sanitizer builds.
std::vector<SanitizerReport> takeChildSanitizerReports(pid_t pid);

} // namespace testing_support::x11
