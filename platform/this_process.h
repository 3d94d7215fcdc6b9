#pragma once

#include <string>
#include <vector>

namespace kvalon {

// The process environment in its own order, one "NAME=value" entry each.
using Environment = std::vector<std::string>;
Environment process_environment();

// The folder the system gives the user's temporary files, without a
// trailing separator: $TMPDIR when it is absolute, else /tmp; on Windows the
// user's temporary folder (TMP, TEMP).
std::string temporary_files_folder();

// The folder of the running executable (past any link to it), without a
// trailing slash; empty when the system does not say.
std::string program_folder();

} // namespace kvalon
