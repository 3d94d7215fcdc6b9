#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kvalon {

// Which run made a temporary file, as its name tells (platform/temporary_name.h).
struct RunStamp {
    std::string boot;
    std::string pid;
    std::string start;
};

inline constexpr std::string_view kRunStampMarker = "kvp";
inline constexpr std::size_t kRunStampBootLength = 8;

// The stamp in `name` when the name is one of ours: PREFIX kvp BOOT.PID.START.XXXXXX,
// the prefix ".NAME." or "kvalon-p-".
std::optional<RunStamp> stamp_in(std::string_view name);

// The same whatever the prefix: a file its run names with a prefix of the
// caller's ("job-") and keeps on purpose, which no later run removes.
std::optional<RunStamp> stamp_in_kept(std::string_view name);

} // namespace kvalon
