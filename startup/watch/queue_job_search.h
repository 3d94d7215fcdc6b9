#pragma once

#include "startup/watch/watch_settings.h"

#include <cstdint>
#include <string>

namespace kvalon {

enum class QueueAnswer { HasJob, NoJob, NoAnswer };

// Whether the job's queue knows a job that the report `claimed` made, begun
// at `begun_at` or after (seconds since 1970; the title it carries names that
// file), printed or still waiting to be: one stopped, cancelled or aborted
// printed nothing, and the report is printed again.
QueueAnswer queue_has_job_for(const JobSettings& job, const std::string& claimed,
                              std::int64_t begun_at);

} // namespace kvalon
