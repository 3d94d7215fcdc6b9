#pragma once

#include <ctime>

namespace kvalon {

// The wall-clock time here at `when`, and how many minutes it is ahead of
// universal time then (negative west of Greenwich).
struct LocalTime {
    std::tm fields{};
    long offset_minutes = 0;
};
LocalTime local_time(std::time_t when);

} // namespace kvalon
