#pragma once

#include "startup/watch/spooled_job.h"

#include <optional>
#include <string>

namespace kvalon {

// A name as one line of text can carry it: control bytes (a newline in a
// file's name) and bytes that are no UTF-8 shown as '?'.
std::string shown_in_log(const std::string& name);

// The one line a job leaves on standard error, for the journal of the
// service manager: the file, the pages, where it went, how long it took, and
// where the file is now (`placed`: empty when it was removed, nothing when
// the job was no file of the user's).
void log_job(const std::string& name, const SpooledJobResult& result, const std::string& went_to,
             const std::optional<std::string>& placed);

// One line of the watcher's own (what it decided after a stop).
void log_line(const std::string& text);

} // namespace kvalon
