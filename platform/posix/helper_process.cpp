#include "platform/helper_process.h"

#include "platform/owned_fd.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kvalon {

namespace {

constexpr int kFirstPassed = 3;
constexpr int kEndingSignals[] = {SIGHUP, SIGINT, SIGTERM};

// Ending signals wait while the helper starts and its group is entered in
// the handler's table: a signal between the two would leave it running.
class EndingSignalsBlocked {
public:
    EndingSignalsBlocked() {
        sigset_t ending;
        sigemptyset(&ending);
        for (const int signal_number : kEndingSignals) {
            sigaddset(&ending, signal_number);
        }
        ::sigprocmask(SIG_BLOCK, &ending, &m_before);
    }
    ~EndingSignalsBlocked() { ::sigprocmask(SIG_SETMASK, &m_before, nullptr); }
    EndingSignalsBlocked(const EndingSignalsBlocked&) = delete;
    EndingSignalsBlocked& operator=(const EndingSignalsBlocked&) = delete;

private:
    sigset_t m_before;
};

// Out of the way of 0 to 2 and of the numbers the helper gets them at, so
// that each dup2 makes a descriptor without close-on-exec.
std::vector<OwnedFd> high_copies(const std::vector<int>& fds, int lowest) {
    std::vector<OwnedFd> copies;
    for (const int fd : fds) {
        copies.emplace_back(::fcntl(fd, F_DUPFD_CLOEXEC, lowest));
    }
    return copies;
}

std::vector<char*> c_strings(const std::vector<std::string>& words) {
    std::vector<char*> pointers;
    for (const std::string& word : words) {
        pointers.push_back(const_cast<char*>(word.c_str()));
    }
    pointers.push_back(nullptr);
    return pointers;
}

// Where the helper's program file is: the first of the PATH's folders that
// holds it, as a shell finds it; the name itself when it holds a slash.
std::string program_on_path(const std::string& name) {
    if (name.find('/') != std::string::npos) {
        return name;
    }
    const char* path = std::getenv("PATH");
    const std::string folders = path != nullptr ? path : "/bin:/usr/bin";
    for (std::size_t start = 0; start <= folders.size();) {
        std::size_t end = folders.find(':', start);
        end = end == std::string::npos ? folders.size() : end;
        const std::string folder = end > start ? folders.substr(start, end - start) : ".";
        const std::string candidate = folder + "/" + name;
        if (::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        start = end + 1;
    }
    return {};
}

// In the child between fork and exec: only calls that are safe there. The
// helper starts with the signals' default actions and none blocked, whatever
// we ignore (SIGPIPE in the backend) or hold back now, in a process group of
// its own, and, unless it is to outlive us, is killed when we die, even by
// SIGKILL, which no handler of ours sees. A failure is told through `report` as its errno.
[[noreturn]] void become_helper(const char* program, char** argv, char** envp, int output,
                                const std::vector<OwnedFd>& passed, ProcessId parent,
                                bool outlives_us, int report) {
    int error = 0;
    struct sigaction default_action {};
    default_action.sa_handler = SIG_DFL;
    for (const int signal_number : kEndingSignals) {
        ::sigaction(signal_number, &default_action, nullptr);
    }
    ::sigaction(SIGPIPE, &default_action, nullptr);
    ::setpgid(0, 0);
    if (!outlives_us && (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || ::getppid() != parent)) {
        ::_exit(127);
    }
    const int nothing = ::open("/dev/null", O_RDONLY);
    if (nothing < 0 || ::dup2(nothing, STDIN_FILENO) < 0 || ::dup2(output, STDOUT_FILENO) < 0 ||
        ::dup2(output, STDERR_FILENO) < 0) {
        error = errno;
    }
    for (std::size_t i = 0; error == 0 && i < passed.size(); ++i) {
        if (::dup2(passed[i].get(), kFirstPassed + static_cast<int>(i)) < 0) {
            error = errno;
        }
    }
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    if (error == 0) {
        ::execve(program, argv, envp);
        error = errno;
    }
    [[maybe_unused]] const ssize_t told = ::write(report, &error, sizeof error);
    ::_exit(127);
}

// The errno the child told before it could become the helper, or 0 once
// its program runs (the report's end closes at exec).
int start_failure(int report) {
    int error = 0;
    ssize_t got = 0;
    while ((got = ::read(report, &error, sizeof error)) < 0 && errno == EINTR) {
    }
    return got == static_cast<ssize_t>(sizeof error) ? error : 0;
}

} // namespace

HelperProcess::HelperProcess(const HelperCall& call) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        m_error = errno;
        return;
    }
    OwnedFd read_end(ends[0]);
    const OwnedFd write_end(ends[1]);
    m_error = start(call, write_end.get());
    if (m_error != 0) {
        m_pid = -1;
        return;
    }
    m_output = read_end.release();
}

int HelperProcess::start(const HelperCall& call, int output) {
    const int lowest = kFirstPassed + static_cast<int>(call.passed.size());
    const std::vector<OwnedFd> passed = high_copies(call.passed, lowest);
    const std::string program = program_on_path(call.words.empty() ? "" : call.words.front());
    std::vector<char*> argv = c_strings(call.words);
    std::vector<char*> envp = c_strings(call.environment);
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        return errno;
    }
    // Out of the way of the numbers the helper's descriptors are put at.
    std::vector<OwnedFd> report_ends = high_copies({report[0], report[1]}, lowest);
    ::close(report[0]);
    ::close(report[1]);
    if (std::any_of(passed.begin(), passed.end(), [](const OwnedFd& fd) { return !fd.valid(); }) ||
        !report_ends[0].valid() || !report_ends[1].valid()) {
        return EBADF;
    }
    if (program.empty()) {
        return ENOENT;
    }
    {
        const EndingSignalsBlocked blocked;
        const ProcessId parent = ::getpid();
        if ((m_pid = ::fork()) == 0) {
            become_helper(program.c_str(), argv.data(), envp.data(), output, passed, parent,
                          call.outlives_us, report_ends[1].get());
        }
        if (m_pid < 0) {
            return errno;
        }
        // Set here too, so that the group exists before anyone kills it.
        ::setpgid(m_pid, m_pid);
        m_cleanup = SignalCleanupEntry::for_process_group(m_pid);
    }
    ::close(report_ends[1].release());
    const int error = start_failure(report_ends[0].get());
    if (error != 0) {
        wait();
    }
    return error;
}

HelperProcess::~HelperProcess() {
    if (m_pid > 0) {
        end_group();
    }
    if (m_output >= 0) {
        ::close(m_output);
    }
}

void HelperProcess::end_group() {
    ::kill(-m_pid, SIGKILL);
    wait();
}

bool HelperProcess::read_output(int seconds, std::size_t most_bytes, std::string& said) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    char buffer[4096];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            end_group();
            return false;
        }
        pollfd readable{m_output, POLLIN, 0};
        const int ready = ::poll(&readable, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        const ssize_t got = ready > 0 ? ::read(m_output, buffer, sizeof buffer) : 0;
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0 && ready != 0) {
            return true;
        }
        if (got > 0 && said.size() < most_bytes) {
            said.append(buffer, static_cast<std::size_t>(got));
        }
    }
}

int HelperProcess::wait() {
    int status = 0;
    while (m_pid > 0 && ::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
    }
    m_pid = -1;
    m_cleanup.release();
    return status;
}

std::string passed_file_name(std::size_t index) {
    return "/dev/fd/" + std::to_string(kFirstPassed + static_cast<int>(index));
}

bool ended_well(int wait_status) {
    return WIFEXITED(wait_status) && WEXITSTATUS(wait_status) == 0;
}

std::vector<std::string> environment_with(const std::vector<std::string>& dropped,
                                          const std::vector<std::string>& added) {
    std::vector<std::string> kept;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('='));
        if (std::find(dropped.begin(), dropped.end(), name) == dropped.end()) {
            kept.push_back(text);
        }
    }
    kept.insert(kept.end(), added.begin(), added.end());
    return kept;
}

} // namespace kvalon
