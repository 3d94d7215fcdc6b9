#include "platform/this_process.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

extern char** environ;

namespace kvalon {

Environment process_environment() {
    Environment entries;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        entries.emplace_back(*entry);
    }
    return entries;
}

std::string temporary_files_folder() {
    const char* configured = std::getenv("TMPDIR");
    return configured != nullptr && *configured == '/' ? configured : "/tmp";
}

std::string program_folder() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : executable.parent_path().string();
}

} // namespace kvalon
