#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace kvalon {

// What the print service says of a queue and of the jobs sent to it. Every
// question gives up when the service does not answer in time
// (printing/cups/cups_connection.h).

// Why `queue` cannot take a job now (missing, stopped, refusing jobs, or no
// print service answering), or nothing when it can.
std::optional<std::string> queue_refusal(const std::string& queue);

// What became of a job the print service took.
struct JobOutcome {
    enum class State {
        Completed,     // the printer took the whole job
        Failed,        // aborted, stopped, or its queue stopped
        Cancelled,     // cancelled there: by someone, or by the printer's program, which
                       // cancels a job whose settings (a paper) the printer refuses
        StillWaiting,  // neither by the deadline: it may still print
        Unwatched,     // whoever followed it stopped looking: it may still print
        ServiceSilent, // the print service stopped answering: it may still print
        SignalKept,    // an ending signal came while the job was followed
    };
    State state = State::StillWaiting;
    std::string
        reason; // for Failed and Cancelled, in the user's words, with the printer's own message
};

// The state of a job and of its printer, as one look at them tells it.
struct JobLook {
    bool answered = false;
    int job_state = 0; // IPP job-state: 3 pending, 4 held, 5 processing, 9 completed...
    bool printer_stopped = false;
    // What the printer says of the job's trouble (printer_trouble.h), if any.
    std::string printer_message;
    // The same for a job that failed: the printer's words whatever its reasons.
    std::string failure_words;
};

// Follows job `job_id` on `queue` until it is completed, aborted, cancelled or
// stopped, or until `deadline`. A job left in a stopped queue fails and is
// cancelled, so that a document reported as not printed is not printed later
// either. The job was handed over whole: a service that stops answering
// leaves it to print, so that is no failure, only the end of the following.
// An ending signal kept meanwhile (platform/signal_cleanup.h) ends the
// following at once. `on_look`, when given, sees every look that answered
// before the job ends, and ends the following early (Unwatched) by returning
// false. With `paused_queue_waits` a job in a stopped queue waits there, as
// one sent with `lp` does, and is followed like any other.
JobOutcome follow_job(const std::string& queue, int job_id,
                      std::chrono::steady_clock::time_point deadline,
                      const std::function<bool(const JobLook&)>& on_look = {},
                      bool paused_queue_waits = false);

// Asks the print service, on a connection of its own, to cancel job `job_id`
// on `queue`; true when it answered. Never throws.
bool cancel_job(const std::string& queue, int job_id) noexcept;

} // namespace kvalon
