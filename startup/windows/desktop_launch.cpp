#include "startup/desktop_launch.h"

#include "engine/error_line.h"
#include "engine/exit_status.h"
#include "engine/messages.h"

#include <string>
#include <windows.h>

namespace kvalon {

namespace {

std::wstring wide_of(const std::string& utf8) {
    const int size = static_cast<int>(utf8.size());
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
    return wide;
}

} // namespace

int start_windows(char**) {
    write_error_line(messages::kNoWindowsOnWindows);
    return kExitCommandLine;
}

// The system's own box, with the program's title, in front of the caller's
// window (a DOS emulator's), waiting for OK.
bool show_in_message_box(const std::string& text) {
    const UINT style = MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND | MB_TOPMOST;
    return ::MessageBoxW(nullptr, wide_of(text).c_str(), wide_of(messages::kTitle).c_str(),
                         style) != 0;
}

} // namespace kvalon
