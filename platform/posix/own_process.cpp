#include "platform/own_process.h"

#include <array>
#include <csignal>
#include <cstdlib>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kvalon {

std::string own_program_path() {
    std::array<char, 4096> path{};
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
    return length > 0 ? std::string(path.data(), static_cast<std::size_t>(length)) : std::string();
}

int exit_status_of(int wait_status) {
    if (WIFEXITED(wait_status)) {
        return WEXITSTATUS(wait_status);
    }
    return WIFSIGNALED(wait_status) ? 128 + WTERMSIG(wait_status) : 255;
}

void end_outright() {
    ::kill(::getpid(), SIGKILL);
    std::abort();
}

} // namespace kvalon
