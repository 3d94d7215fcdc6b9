#include "tests/support/test_files.h"

#include "printing/code_pages.h"

#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <thread>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <poll.h>
#include <sstream>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kvalon::testing {

TempDir::TempDir() {
    std::string pattern = "/tmp/kvalon-test-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    m_path = pattern;
}

TempDir::~TempDir() {
    std::error_code error;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, error);
    std::filesystem::remove_all(m_path, error);
}

void write_bytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

std::string read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool file_exists(const std::string& path) { return std::filesystem::exists(path); }

std::string to_mik(const std::string& utf8) {
    // Reverse of the program's own table: find the byte whose UTF-8 form
    // stands at this place.
    std::string out;
    std::size_t i = 0;
    while (i < utf8.size()) {
        bool matched = false;
        for (int code = 128; code < 256 && !matched; ++code) {
            std::string form;
            append_utf8(form, mik_to_unicode(static_cast<unsigned char>(code)));
            if (utf8.compare(i, form.size(), form) == 0) {
                out.push_back(static_cast<char>(code));
                i += form.size();
                matched = true;
            }
        }
        if (!matched) {
            out.push_back(utf8[i++]);
        }
    }
    return out;
}

namespace {

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
                close(fd.fd);
                fd.fd = -1;
                --open_count;
            } else {
                (fd.fd == out_fd ? result.out : result.err).append(buffer, static_cast<std::size_t>(n));
            }
        }
    }
}

} // namespace

RunResult run_program(const std::vector<std::string>& argv,
                      const std::map<std::string, std::string>& env, const std::string& input,
                      const std::string& working_dir) {
    int in_pipe[2], out_pipe[2], err_pipe[2];
    if (pipe(in_pipe) != 0 || pipe(out_pipe) != 0 || pipe(err_pipe) != 0) {
        throw std::runtime_error("pipe failed");
    }
    const pid_t child = fork();
    if (child == 0) {
        dup2(in_pipe[0], 0);
        dup2(out_pipe[1], 1);
        dup2(err_pipe[1], 2);
        for (int fd : {in_pipe[0], in_pipe[1], out_pipe[0], out_pipe[1], err_pipe[0], err_pipe[1]}) {
            close(fd);
        }
        for (const auto& [name, value] : env) {
            if (value.empty()) {
                unsetenv(name.c_str());
            } else {
                setenv(name.c_str(), value.c_str(), 1);
            }
        }
        if (!working_dir.empty() && chdir(working_dir.c_str()) != 0) {
            _exit(126);
        }
        std::vector<char*> args;
        for (const std::string& arg : argv) {
            args.push_back(const_cast<char*>(arg.c_str()));
        }
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    close(in_pipe[0]);
    close(out_pipe[1]);
    close(err_pipe[1]);
    signal(SIGPIPE, SIG_IGN);
    // Input is fed from its own thread so a child that writes a lot before it
    // reads everything cannot block us both.
    std::thread feeder([fd = in_pipe[1], &input] {
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
    RunResult result;
    drain(out_pipe[0], err_pipe[0], result);
    feeder.join();
    int status = 0;
    waitpid(child, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

int free_port() {
    const int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        port = ntohs(address.sin_port);
    }
    close(probe);
    return port;
}

std::string kvalon_binary() { return KVALON_BINARY; }
std::string source_dir() { return KVALON_SOURCE_DIR; }

} // namespace kvalon::testing
