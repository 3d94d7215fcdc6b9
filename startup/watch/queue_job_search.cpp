#include "startup/watch/queue_job_search.h"

#include "printing/print_page.h"
#include "printing/queue_jobs_seen.h"

#include <algorithm>

namespace kvalon {

namespace {

// The print service's clock and ours may be a second apart.
constexpr std::int64_t kClockSlack = 2;

} // namespace

QueueAnswer queue_has_job_for(const JobSettings& job, const std::string& claimed,
                              std::int64_t begun_at) {
    const auto jobs = queue_jobs_seen(job.queue);
    if (!jobs) {
        return QueueAnswer::NoAnswer;
    }
    const std::string title = document_title(claimed);
    const bool found = std::any_of(jobs->begin(), jobs->end(), [&](const QueueJobSeen& seen) {
        return seen.printed_or_coming && seen.title == title &&
               seen.created + kClockSlack >= begun_at;
    });
    return found ? QueueAnswer::HasJob : QueueAnswer::NoJob;
}

} // namespace kvalon
