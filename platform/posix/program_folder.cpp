#include "platform/program_folder.h"

#include <filesystem>
#include <system_error>

namespace kvalon {

std::string running_program_folder() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : executable.parent_path().string();
}

} // namespace kvalon
