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

} // namespace kvalon
