#pragma once

#include <string>

namespace kvalon {

// True when `path` names an existing ordinary file (links followed).
bool is_regular_file(const std::string& path);

} // namespace kvalon
