#include "platform/own_process.h"

#include "platform/this_process.h"
#include "wide_text.h"

#include <windows.h>

namespace kvalon {

std::string own_program_path() {
    std::wstring path(32768, L'\0');
    const DWORD length =
        ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    return length > 0 && length < path.size() ? utf8_text(path.substr(0, length)) : std::string();
}

// A process's exit code is its status already.
int exit_status_of(int wait_status) {
    return wait_status;
}

// The status a shell gives a program SIGKILL ended.
void end_outright() {
    ::TerminateProcess(::GetCurrentProcess(), 128 + 9);
    ::ExitProcess(128 + 9);
}

} // namespace kvalon
