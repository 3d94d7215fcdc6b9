#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace kvalon {

// What the print service says of a queue and of the jobs sent to it. Qt
// hands a finished document to CUPS without telling whether it was taken,
// so the surface asks before it begins and after it ends. Every question
// gives up when the service does not answer in time (printing/cups/cups_connection.h).

// Why `queue` cannot take a job now (missing, stopped, refusing jobs, or no
// print service answering), or nothing when it can.
std::optional<std::string> queue_refusal(const std::string& queue);

// The highest id among this user's jobs on `queue`, 0 when there are none,
// nothing when the print service does not answer.
std::optional<int> newest_job_id(const std::string& queue);

// The job a document titled `title` became: the newest job of ours on `queue`
// after job `before` with that title; or why there is none.
struct SubmittedJob {
    int id = 0;
    std::string refusal; // set when there is no such job
};
SubmittedJob submitted_job(const std::string& queue, int before, const std::string& title);

// What became of a job the print service took.
struct JobOutcome {
    enum class State {
        Completed,    // the printer took the whole job
        Failed,       // aborted, cancelled, stopped, or its queue stopped
        StillWaiting, // neither by the deadline: it may still print
    };
    State state = State::StillWaiting;
    std::string reason; // for Failed, in the user's words, with the printer's own message
};

// Follows job `job_id` on `queue` until it is completed, aborted, cancelled or
// stopped, or until `deadline`. A job left in a stopped queue fails and is
// cancelled, so that a document reported as not printed is not printed later
// either. A service that stops answering fails the job: it cannot be told
// printed.
JobOutcome follow_job(const std::string& queue, int job_id,
                      std::chrono::steady_clock::time_point deadline);

} // namespace kvalon
