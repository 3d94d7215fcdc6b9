#include "startup/desktop_launch.h"

#include "engine/error_line.h"
#include "engine/exit_status.h"
#include "engine/messages.h"
#include "platform/program_start.h"
#include "printing/program_font.h"

#include <cerrno>
#include <cstring>

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
    const int error = become_program(path, argv);
    if (error == ENOENT) {
        return told(messages::kNeedsDesktopPackage, kExitCommandLine);
    }
    return told(messages::kInternalError + path + ": " + std::strerror(error), kExitInternal);
}

// The box's own program says nothing on our streams: a display it cannot
// reach is told by its status, and the message then goes to standard error.
bool show_in_message_box(const std::string& text) {
    const std::string path = desktop_program_path();
    return run_quietly(path, {path, kMessageWord, text});
}

} // namespace kvalon
