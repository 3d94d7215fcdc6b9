#include "platform/helper_process.h"

#include "platform/owned_fd.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
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
std::vector<OwnedFd> high_copies(const std::vector<int>& fds) {
    std::vector<OwnedFd> copies;
    const int lowest = kFirstPassed + static_cast<int>(fds.size());
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

// The helper starts with the signals' default actions and none blocked,
// whatever we ignore (SIGPIPE in the backend) or hold back now.
void set_signal_defaults(posix_spawnattr_t& attributes) {
    sigset_t defaults;
    sigemptyset(&defaults);
    for (const int signal_number : kEndingSignals) {
        sigaddset(&defaults, signal_number);
    }
    sigaddset(&defaults, SIGPIPE);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF |
                                              POSIX_SPAWN_SETSIGMASK);
}

} // namespace

HelperProcess::HelperProcess(const HelperCall& call) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        m_error = errno;
        return;
    }
    OwnedFd read_end(ends[0]);
    OwnedFd write_end(ends[1]);
    const std::vector<OwnedFd> passed = high_copies(call.passed);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, write_end.get(), STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, write_end.get(), STDERR_FILENO);
    for (std::size_t i = 0; i < passed.size(); ++i) {
        posix_spawn_file_actions_adddup2(&actions, passed[i].get(),
                                         kFirstPassed + static_cast<int>(i));
    }
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    set_signal_defaults(attributes);
    std::vector<char*> argv = c_strings(call.words);
    std::vector<char*> envp = c_strings(call.environment);
    {
        const EndingSignalsBlocked blocked;
        m_error =
            std::any_of(passed.begin(), passed.end(), [](const OwnedFd& fd) { return !fd.valid(); })
                ? EBADF
                : posix_spawnp(&m_pid, argv[0], &actions, &attributes, argv.data(), envp.data());
        if (m_error == 0) {
            m_cleanup = SignalCleanupEntry::for_process_group(m_pid);
        }
    }
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (m_error != 0) {
        m_pid = -1;
        return;
    }
    m_output = read_end.release();
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
