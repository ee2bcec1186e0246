#pragma once

#include <sys/types.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace testing_support::x11 {

// A program started by a test, with its standard output read line by line. The process is
// ended (SIGTERM, then SIGKILL) when the object goes. Waiting pumps the Qt event loop of the
// calling thread when a QCoreApplication exists, so in-process X clients keep running. In a
// sanitizer build, a report the child wrote fails the running test once the child has ended
// (see sanitizer_reports.h).
class ChildProcess final {
public:
    struct Options {
        bool captureStdout = true; // otherwise standard output goes to /dev/null
        bool showStderr = false;   // otherwise standard error goes to /dev/null
        bool mergeStderr = false;  // standard error into the captured standard output
        // Descriptor in this process to hand to the child as descriptor 3 (for -displayfd).
        int passAsFd3 = -1;
    };

    // Starts `program` (looked up in PATH) with `args`; nullptr when it cannot be started.
    static std::unique_ptr<ChildProcess> start(const std::string& program,
                                               const std::vector<std::string>& args);
    static std::unique_ptr<ChildProcess>
    start(const std::string& program, const std::vector<std::string>& args, const Options& options);
    // Runs `program` to its end while pumping events; its exit status, or nothing on timeout
    // (the process is then killed) or when it cannot be started.
    static std::optional<int> run(const std::string& program, const std::vector<std::string>& args,
                                  std::chrono::milliseconds timeout = std::chrono::seconds(10));

    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return m_pid; }
    // The next line of standard output (without its line feed), or nothing once `timeout`
    // passed or the output ended.
    std::optional<std::string> readLine(std::chrono::milliseconds timeout);
    // Skips lines until one starts with `prefix`; that line, or nothing on timeout or end.
    std::optional<std::string> waitForLine(const std::string& prefix,
                                           std::chrono::milliseconds timeout);
    // Exit status once the process has ended within `timeout` (128 + signal when killed).
    std::optional<int> wait(std::chrono::milliseconds timeout);
    bool isRunning();
    // SIGTERM, then SIGKILL after a grace period; waits for the end.
    void terminate();

private:
    ChildProcess() = default;
    bool fillBuffer(std::chrono::steady_clock::time_point deadline);
    void ended(int status);

    pid_t m_pid = -1;
    int m_stdout = -1;
    std::string m_buffer;
    bool m_isEof = false;
    std::optional<int> m_status;
    // Sanitizer builds only: the file standard error goes to instead of /dev/null or ours.
    std::string m_stderrPath;
    bool m_isStderrShown = false;
};

// Runs Qt's event loop of the calling thread (if any) for up to `slice`, else sleeps.
void pumpEvents(std::chrono::milliseconds slice);

} // namespace testing_support::x11
