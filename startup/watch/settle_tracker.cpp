#include "startup/watch/settle_tracker.h"

#include <algorithm>
#include <set>

namespace kvalon {

std::vector<std::string> SettleTracker::look(const std::vector<FolderEntry>& entries,
                                             Clock::time_point now) {
    std::set<std::string> present;
    std::vector<std::string> settled;
    for (const FolderEntry& entry : entries) {
        present.insert(entry.name);
        const Seen current{entry.device, entry.inode, entry.size, entry.changed_ns, now};
        auto known = m_seen.find(entry.name);
        if (known == m_seen.end()) {
            m_seen.emplace(entry.name, current);
            continue;
        }
        Seen& seen = known->second;
        if (seen.device != current.device || seen.inode != current.inode ||
            seen.size != current.size || seen.changed_ns != current.changed_ns) {
            seen = current;
        } else if (now - seen.since >= m_settle) {
            settled.push_back(entry.name);
        }
    }
    std::erase_if(m_seen, [&present](const auto& item) { return !present.contains(item.first); });
    std::sort(settled.begin(), settled.end());
    return settled;
}

SettleTracker::Clock::duration SettleTracker::next_wait(Clock::time_point now,
                                                        Clock::duration longest) const {
    Clock::duration wait = longest;
    for (const auto& [name, seen] : m_seen) {
        wait = std::min(wait, std::max(Clock::duration::zero(), seen.since + m_settle - now));
    }
    return wait;
}

} // namespace kvalon
