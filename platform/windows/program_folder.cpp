#include "platform/program_folder.h"

#include "wide_text.h"

#include <windows.h>

namespace kvalon {

// Paths inside the program use forward slashes between the folder and a
// name; Windows takes either.
std::string running_program_folder() {
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
