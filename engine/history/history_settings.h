#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kvalon {

// Where and how long printed jobs are kept: the user's state folder
// ($XDG_STATE_HOME, or ~/.local/state) under kvalon-p/history, the last
// KVALON_HISTORY_DAYS days (14) and KVALON_HISTORY_MB megabytes (200) at most;
// either 0 turns keeping off.
struct HistorySettings {
    std::string folder; // empty: no state folder is known
    int days = 14;
    std::int64_t most_bytes = std::int64_t{200} * 1024 * 1024;
    bool enabled() const { return !folder.empty() && days > 0 && most_bytes > 0; }
};

// The settings the environment gives. A value that is no whole number leaves
// the default and adds a line to `warnings`.
HistorySettings history_settings_from_environment(std::vector<std::string>& warnings);

} // namespace kvalon
