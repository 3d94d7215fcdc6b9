#pragma once

#include "startup/command_line.h"

#include <functional>

namespace kvalon {

// Runs the watched folder or the printer port the options name until an
// ending signal; `started` is called once it runs, before jobs come. What
// cannot start throws KvalonError(CommandLine).
int run_spool_source(const ProgramOptions& options, const std::function<void()>& started);

} // namespace kvalon
