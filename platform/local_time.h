#pragma once

#include <ctime>

namespace kvalon {

// The local time now, as the system's time zone has it, and how far ahead of
// UTC that is.
struct LocalTime {
    std::tm parts{};
    long utc_offset_seconds = 0;
};

LocalTime local_time_now();

} // namespace kvalon
