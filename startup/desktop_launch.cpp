#include "startup/desktop_launch.h"

#include "engine/error_line.h"
#include "engine/exit_status.h"
#include "engine/messages.h"
#include "printing/program_font.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace kvalon {

namespace {

std::string desktop_program_path() {
    return program_folder() + "/" + kDesktopProgram;
}

int told(const std::string& text, int status) {
    write_error_line(text);
    return status;
}

} // namespace

int start_windows(char** argv) {
    const std::string path = desktop_program_path();
    argv[0] = const_cast<char*>(path.c_str());
    ::execv(path.c_str(), argv);
    if (errno == ENOENT) {
        return told(messages::kNeedsDesktopPackage, kExitCommandLine);
    }
    return told(messages::kInternalError + path + ": " + std::strerror(errno), kExitInternal);
}

// The box's own program says nothing on our streams: a display it cannot
// reach is told by its status, and the message then goes to standard error.
bool show_in_message_box(const std::string& text) {
    const std::string path = desktop_program_path();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> arguments{const_cast<char*>(path.c_str()),
                                 const_cast<char*>(kMessageWord.c_str()),
                                 const_cast<char*>(text.c_str()), nullptr};
    pid_t child = 0;
    const int error =
        posix_spawn(&child, path.c_str(), &actions, nullptr, arguments.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        return false;
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace kvalon
