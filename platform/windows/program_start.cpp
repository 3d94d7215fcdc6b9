#include "platform/program_start.h"

#include "command_line_quoting.h"
#include "wide_text.h"

#include <cerrno>
#include <windows.h>

namespace kvalon {

namespace {

// Started with our environment and standard streams, or with standard
// output and error on NUL (`quiet`): the process, or nothing.
HANDLE start_program(const std::string& path, const std::vector<std::string>& words, bool quiet) {
    std::wstring line = wide_text(quoted_command_line(words));
    STARTUPINFOW start{};
    start.cb = sizeof start;
    SECURITY_ATTRIBUTES handed_on{sizeof handed_on, nullptr, TRUE};
    HANDLE nothing = INVALID_HANDLE_VALUE;
    if (quiet) {
        nothing = ::CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                &handed_on, OPEN_EXISTING, 0, nullptr);
        start.dwFlags = STARTF_USESTDHANDLES;
        start.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
        start.hStdOutput = nothing;
        start.hStdError = nothing;
    }
    PROCESS_INFORMATION started{};
    const bool made =
        ::CreateProcessW(wide_text(path).c_str(), line.data(), nullptr, nullptr,
                         quiet ? TRUE : FALSE, 0, nullptr, nullptr, &start, &started) != 0;
    if (nothing != INVALID_HANDLE_VALUE) {
        ::CloseHandle(nothing);
    }
    if (!made) {
        return nullptr;
    }
    ::CloseHandle(started.hThread);
    return started.hProcess;
}

DWORD exit_code_after_end(HANDLE process) {
    ::WaitForSingleObject(process, INFINITE);
    DWORD status = 1;
    ::GetExitCodeProcess(process, &status);
    ::CloseHandle(process);
    return status;
}

} // namespace

// Windows cannot put another program in place of a process: the program is
// started, waited for, and its status becomes ours.
int become_program(const std::string& path, char** words) {
    std::vector<std::string> list;
    for (char** word = words; word != nullptr && *word != nullptr; ++word) {
        list.emplace_back(*word);
    }
    const HANDLE process = start_program(path, list, false);
    if (process == nullptr) {
        return ::GetLastError() == ERROR_FILE_NOT_FOUND ? ENOENT : EACCES;
    }
    ::ExitProcess(exit_code_after_end(process));
}

bool run_quietly(const std::string& path, const std::vector<std::string>& words) {
    const HANDLE process = start_program(path, words, true);
    return process != nullptr && exit_code_after_end(process) == 0;
}

} // namespace kvalon
