#pragma once

#include <optional>
#include <string>

namespace kvalon {

// What the print service says of a queue and of the jobs sent to it. Qt
// hands a finished document to CUPS without telling whether it was taken,
// so the surface asks before it begins and after it ends.

// Why `queue` cannot take a job now (missing, stopped, refusing jobs, or no
// print service answering), or nothing when it can.
std::optional<std::string> queue_refusal(const std::string& queue);

// The highest id among this user's jobs on `queue`, 0 when there are none,
// nothing when the print service does not answer.
std::optional<int> newest_job_id(const std::string& queue);

// After a document titled `title` was handed over: nothing when a job newer
// than `before` with that title was accepted and its queue will print it;
// otherwise the reason. A job left in a stopped queue is cancelled, so that
// a document reported as not printed is not printed later either.
std::optional<std::string> job_refusal(const std::string& queue, int before,
                                       const std::string& title);

} // namespace kvalon
