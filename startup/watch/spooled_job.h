#pragma once

#include "startup/watch/watch_settings.h"

#include <optional>
#include <string>

namespace kvalon {

// The file a job's run writes the number of its report's pages into.
inline constexpr const char* kTellPagesVariable = "KVALON_TELL_PAGES";

// What printing one job gave.
struct SpooledJobResult {
    bool printed = false;
    std::string reason;       // why not, in the program's own words
    std::optional<int> pages; // when the run or the PDF it made tells
    double seconds = 0;
};

// Prints the report at `path` as `kvalon-p` itself would with the job's
// options, into `pdf_target` when given: in a process of its own, so that
// a report that fails, however badly, fails alone, and nothing of one job
// stays for the next. It is started in a process group of its own (an
// ending signal for the watcher is not one for the job in hand), without a
// display (no window opens for it). `held`, when not -1, is passed to it: a
// descriptor whose lock it keeps while it runs, also when the watcher is
// killed first, so that no watcher starts the same job again meanwhile.
SpooledJobResult print_spooled_job(const JobSettings& settings, const std::string& path,
                                   const std::string& pdf_target, int held = -1);

// The pages a PDF of ours holds, when it tells.
std::optional<int> pdf_page_count(const std::string& path);

} // namespace kvalon
