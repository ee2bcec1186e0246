#include "sanitizer_reports.h"

#include <dirent.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <fstream>
#include <sstream>

extern char** environ;

namespace testing_support::x11 {

namespace {

// Set by the build to the sanitizer every target of this build is compiled with.
constexpr std::string_view kBuildSanitizer = HOLDFIN_SANITIZE;

// Options each sanitizer reads, with defaults of ours that the environment may override.
struct OptionsVariable {
    std::string_view name;
    std::string_view settings;
};

std::vector<OptionsVariable> optionsVariables(std::string_view sanitizer) {
    // The address build includes UndefinedBehaviorSanitizer, which reads options of its own;
    // the build already makes undefined behaviour fatal, and a stack shows where it happened.
    // LeakSanitizer runs inside AddressSanitizer and takes ASAN_OPTIONS' log path.
    if (sanitizer == "address")
        return {{"ASAN_OPTIONS", ""}, {"UBSAN_OPTIONS", "print_stacktrace=1:halt_on_error=1"}};
    if (sanitizer == "thread")
        return {{"TSAN_OPTIONS", ""}};
    return {};
}

// The folder is made on first use and removed at exit when every report in it was taken.
class ReportFolder final {
public:
    ReportFolder() {
        const char* tmp = getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/holdfin-sanitizer-XXXXXX";
        if (mkdtemp(pattern.data()))
            m_path = pattern;
    }
    ~ReportFolder() {
        if (!m_path.empty())
            rmdir(m_path.c_str());
    }
    ReportFolder(const ReportFolder&) = delete;
    ReportFolder& operator=(const ReportFolder&) = delete;

    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

const std::string& reportFolder() {
    static const ReportFolder folder;
    return folder.path();
}

std::string baseName(const std::string& program) {
    const auto slash = program.rfind('/');
    return slash == std::string::npos ? program : program.substr(slash + 1);
}

// The pid a sanitizer appended to the log path, or -1 when `name` does not end in one.
pid_t reportPid(std::string_view name) {
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos || dot + 1 == name.size())
        return -1;
    pid_t pid = -1;
    const char* end = name.data() + name.size();
    const auto [at, error] = std::from_chars(name.data() + dot + 1, end, pid);
    return error == std::errc() && at == end ? pid : -1;
}

bool hasEnded(pid_t pid) {
    return kill(pid, 0) != 0 && errno == ESRCH;
}

} // namespace

std::string_view buildSanitizer() {
    return kBuildSanitizer;
}

std::vector<std::string> withSanitizerLogPath(std::vector<std::string> environment,
                                              std::string_view sanitizer,
                                              const std::string& logPath) {
    for (const OptionsVariable& variable : optionsVariables(sanitizer)) {
        const std::string prefix = std::string(variable.name) + "=";
        std::string value(variable.settings);
        auto existing = environment.begin();
        for (; existing != environment.end(); ++existing) {
            if (existing->rfind(prefix, 0) == 0)
                break;
        }
        if (existing != environment.end()) {
            const std::string set = existing->substr(prefix.size());
            if (!set.empty())
                value += (value.empty() ? "" : ":") + set;
            environment.erase(existing);
        }
        value += (value.empty() ? "" : ":") + std::string("log_path=") + logPath;
        environment.push_back(prefix + value);
    }
    return environment;
}

std::vector<SanitizerReport> takeSanitizerReports(const std::string& folder, pid_t pid) {
    std::vector<SanitizerReport> reports;
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return reports;
    std::vector<std::string> names;
    while (const dirent* entry = readdir(dir)) {
        const pid_t writer = reportPid(entry->d_name);
        if (writer > 0 && (writer == pid || hasEnded(writer)))
            names.emplace_back(entry->d_name);
    }
    closedir(dir);
    for (const std::string& name : names) {
        const std::string path = folder + "/" + name;
        std::ifstream file(path);
        std::ostringstream text;
        text << file.rdbuf();
        unlink(path.c_str());
        reports.push_back({name, text.str()});
    }
    return reports;
}

std::string undefinedBehaviourReport(const std::string& stderrText) {
    const auto error = stderrText.find("runtime error:");
    if (error == std::string::npos)
        return {};
    const auto lineStart = stderrText.rfind('\n', error);
    return stderrText.substr(lineStart == std::string::npos ? 0 : lineStart + 1);
}

std::vector<std::string> childEnvironment(const std::string& program) {
    std::vector<std::string> environment;
    for (char** entry = environ; *entry; ++entry)
        environment.emplace_back(*entry);
    if (kBuildSanitizer.empty() || reportFolder().empty())
        return environment;
    return withSanitizerLogPath(std::move(environment), kBuildSanitizer,
                                reportFolder() + "/" + baseName(program));
}

std::string childStderrPath(const std::string& program) {
    static std::atomic<int> count{0};
    if (kBuildSanitizer.empty() || reportFolder().empty())
        return {};
    // No pid in the name: these are not reports and takeSanitizerReports() leaves them.
    return reportFolder() + "/stderr-" + baseName(program) + "-" + std::to_string(++count);
}

std::vector<SanitizerReport> takeChildSanitizerReports(pid_t pid) {
    if (kBuildSanitizer.empty() || reportFolder().empty())
        return {};
    return takeSanitizerReports(reportFolder(), pid);
}

} // namespace testing_support::x11
