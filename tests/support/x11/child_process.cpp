#include "child_process.h"

#include "sanitizer_reports.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

namespace testing_support::x11 {

using namespace std::chrono;

void pumpEvents(milliseconds slice) {
    auto* app = QCoreApplication::instance();
    if (app && app->thread() == QThread::currentThread())
        QCoreApplication::processEvents(QEventLoop::AllEvents, int(slice.count()));
    else
        std::this_thread::sleep_for(slice);
}

std::unique_ptr<ChildProcess> ChildProcess::start(const std::string& program,
                                                  const std::vector<std::string>& args) {
    return start(program, args, Options{});
}

std::unique_ptr<ChildProcess> ChildProcess::start(const std::string& program,
                                                  const std::vector<std::string>& args,
                                                  const Options& options) {
    int pipeFds[2] = {-1, -1};
    if (options.captureStdout && pipe2(pipeFds, O_CLOEXEC) != 0)
        return nullptr;

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (options.captureStdout)
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    else
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const bool isStderrMerged = options.mergeStderr && options.captureStdout;
    // Sanitizer builds keep standard error for reports that ignore their log path.
    const std::string stderrPath = isStderrMerged ? std::string() : childStderrPath(program);
    if (isStderrMerged)
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 2);
    else if (!stderrPath.empty())
        posix_spawn_file_actions_addopen(&actions, 2, stderrPath.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
    else if (!options.showStderr)
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    if (options.passAsFd3 >= 0)
        posix_spawn_file_actions_adddup2(&actions, options.passAsFd3, 3);

    // New process group, so that ending the child also ends what it started.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    std::vector<std::string> environment = childEnvironment(program);
    std::vector<char*> envp;
    for (std::string& entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    pid_t pid = -1;
    const int error =
        posix_spawnp(&pid, program.c_str(), &actions, &attributes, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (options.captureStdout)
        close(pipeFds[1]);
    if (error != 0) {
        if (options.captureStdout)
            close(pipeFds[0]);
        if (!stderrPath.empty())
            unlink(stderrPath.c_str());
        return nullptr;
    }
    std::unique_ptr<ChildProcess> child(new ChildProcess);
    child->m_pid = pid;
    child->m_stdout = options.captureStdout ? pipeFds[0] : -1;
    child->m_isEof = !options.captureStdout;
    child->m_stderrPath = stderrPath;
    child->m_isStderrShown = options.showStderr;
    return child;
}

std::optional<int> ChildProcess::run(const std::string& program,
                                     const std::vector<std::string>& args, milliseconds timeout) {
    Options options;
    options.captureStdout = false;
    options.showStderr = true;
    auto child = start(program, args, options);
    if (!child)
        return std::nullopt;
    return child->wait(timeout);
}

ChildProcess::~ChildProcess() {
    terminate();
    if (m_stdout >= 0)
        close(m_stdout);
}

bool ChildProcess::fillBuffer(steady_clock::time_point deadline) {
    while (!m_isEof) {
        pollfd fd{m_stdout, POLLIN, 0};
        const int ready = poll(&fd, 1, 0);
        if (ready > 0) {
            char chunk[4096];
            const ssize_t n = read(m_stdout, chunk, sizeof chunk);
            if (n > 0) {
                m_buffer.append(chunk, std::size_t(n));
                return true;
            }
            if (n == 0 || errno != EINTR)
                m_isEof = true;
            continue;
        }
        if (steady_clock::now() >= deadline)
            return false;
        pumpEvents(milliseconds(2));
        // Without a Qt loop to pump, block on the pipe itself until the deadline.
        if (!QCoreApplication::instance()) {
            const auto left = duration_cast<milliseconds>(deadline - steady_clock::now());
            poll(&fd, 1, int(std::max<milliseconds::rep>(0, left.count())));
        }
    }
    return false;
}

std::optional<std::string> ChildProcess::readLine(milliseconds timeout) {
    const auto deadline = steady_clock::now() + timeout;
    for (;;) {
        const auto end = m_buffer.find('\n');
        if (end != std::string::npos) {
            std::string line = m_buffer.substr(0, end);
            m_buffer.erase(0, end + 1);
            return line;
        }
        if (!fillBuffer(deadline))
            return std::nullopt;
    }
}

std::optional<std::string> ChildProcess::waitForLine(const std::string& prefix,
                                                     milliseconds timeout) {
    const auto deadline = steady_clock::now() + timeout;
    for (;;) {
        const auto left = duration_cast<milliseconds>(deadline - steady_clock::now());
        auto line = readLine(std::max(left, milliseconds(0)));
        if (!line)
            return std::nullopt;
        if (line->rfind(prefix, 0) == 0)
            return line;
    }
}

bool ChildProcess::isRunning() {
    if (m_status || m_pid < 0)
        return false;
    int status = 0;
    const pid_t done = waitpid(m_pid, &status, WNOHANG);
    if (done == m_pid)
        ended(WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
    return !m_status;
}

std::optional<int> ChildProcess::wait(milliseconds timeout) {
    const auto deadline = steady_clock::now() + timeout;
    while (isRunning()) {
        if (steady_clock::now() >= deadline)
            return std::nullopt;
        pumpEvents(milliseconds(2));
    }
    return m_status;
}

void ChildProcess::terminate() {
    if (!isRunning())
        return;
    kill(-m_pid, SIGTERM); // the whole group: what the child started goes too
    // Sanitized programs check for leaks on their way out, which takes a while longer.
    const auto deadline =
        steady_clock::now() + (buildSanitizer().empty() ? seconds(3) : seconds(15));
    while (isRunning() && steady_clock::now() < deadline)
        std::this_thread::sleep_for(milliseconds(5));
    if (isRunning()) {
        kill(-m_pid, SIGKILL);
        int status = 0;
        waitpid(m_pid, &status, 0);
        ended(128 + SIGKILL);
    }
}

void ChildProcess::ended(int status) {
    m_status = status;
    // A report fails whichever test is running: each test case runs in a process of its own,
    // and the children a test starts end with it.
    for (const SanitizerReport& report : takeChildSanitizerReports(m_pid))
        ADD_FAILURE() << "sanitizer report " << report.fileName << " from a child process:\n"
                      << report.text;
    if (m_stderrPath.empty())
        return;
    std::ifstream file(m_stderrPath);
    std::ostringstream text;
    text << file.rdbuf();
    unlink(m_stderrPath.c_str());
    if (m_isStderrShown) {
        std::fputs(text.str().c_str(), stderr);
        std::fflush(stderr);
    }
    const std::string undefinedBehaviour = undefinedBehaviourReport(text.str());
    if (!undefinedBehaviour.empty())
        ADD_FAILURE() << "undefined behaviour in a child process (pid " << m_pid << "):\n"
                      << undefinedBehaviour;
}

} // namespace testing_support::x11
