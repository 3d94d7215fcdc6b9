#pragma once

#include "engine/history/job_history.h"
#include "startup/command_line.h"

#include <functional>
#include <string>
#include <vector>

namespace kvalon {

// --history: the jobs kept, newest first and numbered from 1, a line each:
// time (local), report, pages, where it went, how it ended.
std::string history_listing(const std::vector<KeptJob>& jobs);

// The job --reprint N names. Throws KvalonError(CommandLine) naming
// "--reprint N" when the history holds fewer jobs, or is off.
const KeptJob& job_to_reprint(const std::vector<KeptJob>& jobs, int number);

// The options a kept job prints again with: those it was printed with,
// each replaced by one given now (--printer or --pdf replace both).
// Throws KvalonError(CommandLine) for a report named besides --reprint.
ProgramOptions reprint_options(const ProgramOptions& given, const KeptJob& kept);

} // namespace kvalon
