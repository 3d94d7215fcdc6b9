#include "startup/desktop_presence.h"

#include <cstdlib>
#include <string_view>
#include <windows.h>

namespace kvalon {

// The windows program is not built for Windows.
bool has_desktop() {
    return false;
}

// Started from a console (a command prompt, a batch file), the user reads
// standard error there; a console made for this program alone (a DOS
// emulator's call, a double click) closes with it, so a box is shown.
// KVALON_NO_WINDOWS=1 keeps tests and services from waiting on a box.
bool shows_message_boxes() {
    if (const char* no_windows = std::getenv("KVALON_NO_WINDOWS");
        no_windows != nullptr && std::string_view(no_windows) == "1") {
        return false;
    }
    DWORD processes[2] = {};
    return ::GetConsoleWindow() == nullptr || ::GetConsoleProcessList(processes, 2) < 2;
}

} // namespace kvalon
