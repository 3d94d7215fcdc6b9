#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kvalon {

// A job the print service knows, finished ones included.
struct QueueJobSeen {
    std::string title;
    std::int64_t created = 0; // seconds since 1970, as the service tells it
    // Printed, or still on its way to be: not stopped, cancelled or aborted.
    bool printed_or_coming = false;
};

// The jobs of `queue` (every queue when empty) the system's print service
// remembers; nothing when it does not answer. Each print service implements
// it in its own folder.
std::optional<std::vector<QueueJobSeen>> queue_jobs_seen(const std::string& queue);

} // namespace kvalon
