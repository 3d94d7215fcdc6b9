#include "printing/cups_job_check.h"

#include "engine/messages.h"

#include <cups/cups.h>

#include <cstring>

namespace kvalon {

namespace {

constexpr const char* kStopped = "5"; // IPP printer-state "stopped"

std::string service_reason() {
    const char* text = cupsLastErrorString();
    return text != nullptr && *text != '\0' ? text : messages::kServiceSilent;
}

bool option_is(const cups_dest_t& dest, const char* name, const char* value) {
    const char* found = cupsGetOption(name, dest.num_options, dest.options);
    return found != nullptr && std::strcmp(found, value) == 0;
}

// Our jobs on the queue, released on every path.
class Jobs {
public:
    explicit Jobs(const std::string& queue)
        : m_count(cupsGetJobs2(CUPS_HTTP_DEFAULT, &m_jobs, queue.c_str(), 1, CUPS_WHICHJOBS_ALL)) {}
    ~Jobs() { cupsFreeJobs(m_count, m_jobs); }
    Jobs(const Jobs&) = delete;
    Jobs& operator=(const Jobs&) = delete;

    bool answered() const { return m_count >= 0 && cupsLastError() <= IPP_STATUS_OK_CONFLICTING; }
    const cups_job_t* begin() const { return m_jobs; }
    const cups_job_t* end() const { return m_jobs + (m_count > 0 ? m_count : 0); }

private:
    cups_job_t* m_jobs = nullptr;
    int m_count = 0;
};

} // namespace

std::optional<std::string> queue_refusal(const std::string& queue) {
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.c_str(), nullptr);
    if (dest == nullptr) {
        return cupsLastError() == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE ? service_reason()
                                                                       : messages::kNoSuchQueue;
    }
    std::optional<std::string> refusal;
    if (option_is(*dest, "printer-state", kStopped)) {
        refusal = messages::kQueueStopped;
    } else if (option_is(*dest, "printer-is-accepting-jobs", "false")) {
        refusal = messages::kQueueRejects;
    }
    cupsFreeDests(1, dest);
    return refusal;
}

std::optional<int> newest_job_id(const std::string& queue) {
    const Jobs jobs(queue);
    if (!jobs.answered()) {
        return std::nullopt;
    }
    int newest = 0;
    for (const cups_job_t& job : jobs) {
        newest = job.id > newest ? job.id : newest;
    }
    return newest;
}

std::optional<std::string> job_refusal(const std::string& queue, int before,
                                       const std::string& title) {
    int id = 0;
    ipp_jstate_t state = IPP_JSTATE_PENDING;
    {
        const Jobs jobs(queue);
        if (!jobs.answered()) {
            return service_reason();
        }
        for (const cups_job_t& job : jobs) {
            if (job.id > before && job.id > id && job.title != nullptr && title == job.title) {
                id = job.id;
                state = job.state;
            }
        }
    }
    if (id == 0) {
        return messages::kJobNotTaken;
    }
    if (state == IPP_JSTATE_ABORTED || state == IPP_JSTATE_CANCELED) {
        return messages::kJobStopped;
    }
    if (state == IPP_JSTATE_COMPLETED) {
        return std::nullopt;
    }
    std::optional<std::string> refusal = queue_refusal(queue);
    if (refusal) {
        cupsCancelJob2(CUPS_HTTP_DEFAULT, queue.c_str(), id, 0);
    }
    return refusal;
}

} // namespace kvalon
