#include "platform/this_process.h"

#include "wide_text.h"

#include <cwchar>
#include <windows.h>

namespace kvalon {

// The system's own block, in UTF-16: entries whose name begins with "=" are
// the shell's record of each drive's current folder, not variables.
Environment process_environment() {
    Environment entries;
    wchar_t* block = ::GetEnvironmentStringsW();
    if (block == nullptr) {
        return entries;
    }
    for (const wchar_t* entry = block; *entry != L'\0'; entry += std::wcslen(entry) + 1) {
        if (entry[0] != L'=') {
            entries.push_back(utf8_text(entry));
        }
    }
    ::FreeEnvironmentStringsW(block);
    return entries;
}

std::string temporary_files_folder() {
    std::wstring path(MAX_PATH + 1, L'\0');
    const DWORD length = ::GetTempPathW(static_cast<DWORD>(path.size()), path.data());
    if (length == 0 || length >= path.size()) {
        return ".";
    }
    path.resize(length);
    while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) {
        path.pop_back();
    }
    return utf8_text(path);
}

// Paths inside the program use forward slashes between the folder and a
// name; Windows takes either.
std::string program_folder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return utf8_text(path.substr(0, path.find_last_of(L"\\/")));
}

} // namespace kvalon
