#pragma once

#include <string>

namespace kvalon {

// True when `path` names an existing ordinary file (links followed).
bool is_regular_file(const std::string& path);

// What `path` names (links followed): nothing, an ordinary file, a folder, or
// anything else (a pipe, a device, a socket).
enum class PathKind { Missing, Regular, Folder, Other };
PathKind path_kind(const std::string& path);

} // namespace kvalon
