#include "tests/support/child_process.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <string_view>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>

extern char** environ;

namespace kvalon::testing {
namespace {

// The child's environment is made whole here, before it starts: ours with
// `changes` applied. Between its start and its exec nothing runs in the
// child, so nothing can trip over a lock another thread of ours held.
std::vector<std::string> child_environment(const std::map<std::string, std::string>& changes) {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string_view text(*entry);
        if (changes.count(std::string(text.substr(0, text.find('=')))) == 0) {
            entries.emplace_back(text);
        }
    }
    for (const auto& [name, value] : changes) {
        if (!value.empty()) {
            entries.push_back(name + "=" + value);
        }
    }
    // A run keeps no jobs in the state folder of whoever runs the tests,
    // which all runs would share: a test of the kept jobs turns it on.
    if (changes.count("KVALON_HISTORY_DAYS") == 0) {
        entries.emplace_back("KVALON_HISTORY_DAYS=0");
    }
    return entries;
}

std::vector<char*> pointers_to(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// Both ends close on exec, so that a pipe never leaks into a program another
// thread starts at the same moment (its reader would wait for that program
// too). The child's standard descriptors are copies and stay open.
class Pipe {
public:
    Pipe() {
        if (pipe2(m_ends, O_CLOEXEC) != 0) {
            throw std::runtime_error("pipe failed");
        }
    }
    ~Pipe() {
        close_read();
        close_write();
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;
    int read_end() const { return m_ends[0]; }
    int write_end() const { return m_ends[1]; }
    void close_read() { close_end(m_ends[0]); }
    void close_write() { close_end(m_ends[1]); }
    int release_read() { return std::exchange(m_ends[0], -1); }
    int release_write() { return std::exchange(m_ends[1], -1); }

private:
    static void close_end(int& end) {
        if (end >= 0) {
            close(end);
            end = -1;
        }
    }
    int m_ends[2] = {-1, -1};
};

// Descriptors that become the child's standard input, output and error; -1
// leaves it ours.
struct StandardStreams {
    int in = -1;
    int out = -1;
    int err = -1;
};

class SpawnSetup {
public:
    SpawnSetup() {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attributes);
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
};

// The test ignores SIGPIPE for its own writes, and whatever started the test
// may have ignored or blocked others; the program starts with every signal at
// its default and none blocked.
void give_default_signals(posix_spawnattr_t& attributes) {
    sigset_t defaults;
    sigfillset(&defaults);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
}

// The child's id, or the error number as a negative value.
pid_t spawn(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
            const StandardStreams& streams, const std::string& working_dir) {
    SpawnSetup setup;
    const int sources[] = {streams.in, streams.out, streams.err};
    for (int target = 0; target < 3; ++target) {
        if (sources[target] >= 0) {
            posix_spawn_file_actions_adddup2(&setup.actions, sources[target], target);
        }
    }
    if (!working_dir.empty()) {
        posix_spawn_file_actions_addchdir_np(&setup.actions, working_dir.c_str());
    }
    give_default_signals(setup.attributes);
    std::vector<std::string> words = argv;
    std::vector<std::string> environment = child_environment(env);
    const std::vector<char*> word_pointers = pointers_to(words);
    const std::vector<char*> environment_pointers = pointers_to(environment);
    pid_t child = -1;
    const int error = posix_spawnp(&child, word_pointers[0], &setup.actions, &setup.attributes,
                                   word_pointers.data(), environment_pointers.data());
    return error == 0 ? child : -error;
}

void drain(int out_fd, int err_fd, RunResult& result) {
    pollfd fds[2] = {{out_fd, POLLIN, 0}, {err_fd, POLLIN, 0}};
    int open_count = 2;
    char buffer[65536];
    while (open_count > 0) {
        if (poll(fds, 2, -1) < 0 && errno != EINTR) {
            break;
        }
        for (pollfd& fd : fds) {
            if (fd.fd < 0 || (fd.revents & (POLLIN | POLLHUP)) == 0) {
                continue;
            }
            const ssize_t n = read(fd.fd, buffer, sizeof buffer);
            if (n <= 0) {
                fd.fd = -1;
                --open_count;
            } else {
                (fd.fd == out_fd ? result.out : result.err)
                    .append(buffer, static_cast<std::size_t>(n));
            }
        }
    }
}

// Input is fed from its own thread so a child that writes a lot before it
// reads everything cannot block us both.
std::thread feed(int fd, const std::string& input) {
    return std::thread([fd, &input] {
        std::size_t done = 0;
        while (done < input.size()) {
            const ssize_t n = write(fd, input.data() + done, input.size() - done);
            if (n <= 0) {
                break;
            }
            done += static_cast<std::size_t>(n);
        }
        close(fd);
    });
}

int exit_status_of(pid_t child) {
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace

RunResult run_program(const std::vector<std::string>& argv,
                      const std::map<std::string, std::string>& env, const std::string& input,
                      const std::string& working_dir) {
    signal(SIGPIPE, SIG_IGN);
    Pipe in, out, err;
    const pid_t child =
        spawn(argv, env, {in.read_end(), out.write_end(), err.write_end()}, working_dir);
    RunResult result;
    if (child < 0) {
        result.status = 127;
        result.err = "cannot start " + argv.at(0) + ": " + std::strerror(-child);
        return result;
    }
    in.close_read();
    out.close_write();
    err.close_write();
    std::thread feeder = feed(in.release_write(), input);
    drain(out.read_end(), err.read_end(), result);
    feeder.join();
    result.status = exit_status_of(child);
    return result;
}

StartedProgram start_program(const std::vector<std::string>& argv,
                             const std::map<std::string, std::string>& env) {
    Pipe in;
    const pid_t child = spawn(argv, env, {in.read_end(), -1, -1}, {});
    if (child < 0) {
        return {};
    }
    return {child, in.release_write()};
}

pid_t start_logged_program(const std::vector<std::string>& argv,
                           const std::map<std::string, std::string>& env, const std::string& log) {
    const int null = open("/dev/null", O_RDONLY | O_CLOEXEC);
    const int err = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    const pid_t child = spawn(argv, env, {null, err, err}, {});
    close(null);
    close(err);
    return child < 0 ? -1 : child;
}

int wait_for_program(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace kvalon::testing
