#pragma once

#include "platform/spool_files.h"

#include <chrono>
#include <map>
#include <string>
#include <vector>

namespace kvalon {

// Tells which files of a folder have stayed the same long enough to be whole:
// the same file (device and number), size and time of change at every look
// for `settle`. A file renamed in, truncated and written again, or still
// growing starts its wait afresh.
class SettleTracker {
public:
    using Clock = std::chrono::steady_clock;

    explicit SettleTracker(Clock::duration settle) : m_settle(settle) {}

    // Takes one look at the folder's regular files `entries` at `now`; the
    // names settled at this look, in name order. A name that is gone is
    // forgotten.
    std::vector<std::string> look(const std::vector<FolderEntry>& entries, Clock::time_point now);

    // Forget a name (it was taken, or it must wait for a fresh change).
    void forget(const std::string& name) { m_seen.erase(name); }

    // How long until the next file could settle, at most `longest`.
    Clock::duration next_wait(Clock::time_point now, Clock::duration longest) const;

private:
    struct Seen {
        FileDevice device = 0;
        FileNumber inode = 0;
        std::int64_t size = 0;
        std::int64_t changed_ns = 0;
        Clock::time_point since;
    };

    Clock::duration m_settle;
    std::map<std::string, Seen> m_seen;
};

} // namespace kvalon
