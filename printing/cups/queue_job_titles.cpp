#include "printing/queue_jobs_seen.h"

#include "engine/error.h"
#include "printing/cups/cups_connection.h"

namespace kvalon {

std::optional<std::vector<QueueJobSeen>> queue_jobs_seen(const std::string& queue) {
    try {
        const CupsConnection connection;
        cups_job_t* jobs = nullptr;
        const int count =
            cupsGetJobs2(connection.get(), &jobs, queue.empty() ? nullptr : queue.c_str(), 0,
                         CUPS_WHICHJOBS_ALL);
        if (count < 0 || !connection.answered()) {
            cupsFreeJobs(count < 0 ? 0 : count, jobs);
            return std::nullopt;
        }
        std::vector<QueueJobSeen> seen;
        for (int i = 0; i < count; ++i) {
            const ipp_jstate_t state = jobs[i].state;
            seen.push_back({jobs[i].title ? jobs[i].title : "",
                            static_cast<std::int64_t>(jobs[i].creation_time),
                            state == IPP_JSTATE_COMPLETED || state < IPP_JSTATE_STOPPED});
        }
        cupsFreeJobs(count, jobs);
        return seen;
    } catch (const KvalonError&) {
        return std::nullopt;
    }
}

} // namespace kvalon
