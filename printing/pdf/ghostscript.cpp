#include "printing/pdf/ghostscript.h"

#include "engine/error.h"
#include "engine/messages.h"
#include "engine/owned_fd.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kvalon {

namespace {

// A long report of many pages takes gs seconds; minutes mean a document that
// loops.
constexpr int kMostSeconds = 300;
constexpr std::size_t kMostOutput = 1 << 16;

std::string points(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.0f", value);
    return text;
}

// A name gs would take for one of its switches is given as a path.
std::string as_file_name(const std::string& path) {
    return !path.empty() && path.front() == '-' ? "./" + path : path;
}

std::vector<std::string> arguments(const std::vector<std::string>& inputs,
                                   const std::string& output, const PaperPoints& paper) {
    std::vector<std::string> words = {"gs",
                                      "-q",
                                      "-dSAFER",
                                      "-dBATCH",
                                      "-dNOPAUSE",
                                      "-sDEVICE=pdfwrite",
                                      "-dDEVICEWIDTHPOINTS=" + points(paper.width),
                                      "-dDEVICEHEIGHTPOINTS=" + points(paper.height),
                                      "-sOutputFile=" + output,
                                      "-f"};
    for (const std::string& input : inputs) {
        words.push_back(as_file_name(input));
    }
    return words;
}

// gs says what went wrong on a line beginning "Error:"; else its last line.
std::string reason_in(const std::string& output) {
    const std::size_t error = output.find("Error:");
    std::size_t start = error;
    if (start == std::string::npos) {
        std::size_t end = output.find_last_not_of("\r\n");
        if (end == std::string::npos) {
            return {};
        }
        start = output.rfind('\n', end);
        start = start == std::string::npos ? 0 : start + 1;
    }
    const std::size_t end = output.find('\n', start);
    return output.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

class Spawned {
public:
    Spawned(const std::vector<std::string>& words, int output_fd) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_adddup2(&actions, output_fd, STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, output_fd, STDERR_FILENO);
        std::vector<char*> argv;
        for (const std::string& word : words) {
            argv.push_back(const_cast<char*>(word.c_str()));
        }
        argv.push_back(nullptr);
        m_error = posix_spawnp(&m_pid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (m_error != 0) {
            m_pid = -1;
        }
    }
    ~Spawned() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            wait();
        }
    }
    Spawned(const Spawned&) = delete;
    Spawned& operator=(const Spawned&) = delete;

    int start_error() const { return m_error; }
    int wait() {
        int status = 0;
        while (m_pid > 0 && ::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
        }
        m_pid = -1;
        return status;
    }

private:
    pid_t m_pid = -1;
    int m_error = 0;
};

// Reads what gs says until it closes its end or the time is up.
bool read_until_closed(int fd, std::string& output) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kMostSeconds);
    char buffer[4096];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        pollfd readable{fd, POLLIN, 0};
        const int ready = ::poll(&readable, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        const ssize_t got = ready > 0 ? ::read(fd, buffer, sizeof buffer) : 0;
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return ready != 0;
        }
        if (output.size() < kMostOutput) {
            output.append(buffer, static_cast<std::size_t>(got));
        }
    }
}

} // namespace

void ghostscript_to_pdf(const std::vector<std::string>& inputs, const std::string& output,
                        const PaperPoints& paper, const std::string& target) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        throw KvalonError(ErrorKind::FileWrite, target, system_reason(errno));
    }
    OwnedFd read_end(ends[0]);
    OwnedFd write_end(ends[1]);
    Spawned gs(arguments(inputs, output, paper), write_end.get());
    write_end.reset();
    if (gs.start_error() != 0) {
        throw KvalonError(ErrorKind::FileWrite, target,
                          gs.start_error() == ENOENT ? messages::kGhostscriptMissing
                                                     : system_reason(gs.start_error()));
    }
    std::string said;
    if (!read_until_closed(read_end.get(), said)) {
        throw KvalonError(ErrorKind::FileWrite, target,
                          messages::kGhostscriptTooLong + std::to_string(kMostSeconds) +
                              messages::kSeconds);
    }
    const int status = gs.wait();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw KvalonError(ErrorKind::FileWrite, target,
                          messages::kPostScriptNotConverted + reason_in(said));
    }
}

} // namespace kvalon
