#pragma once

#include <string>
#include <vector>

namespace kvalon {

// The process environment in its own order, one "NAME=value" entry each.
using Environment = std::vector<std::string>;
Environment process_environment();

// The folder of the running executable (past any link to it), without a
// trailing slash; empty when the system does not say.
std::string program_folder();

} // namespace kvalon
