#pragma once

#include "engine/error.h"

#include <cstdint>
#include <limits>

namespace kvalon {

// Counts and sizes of a job are 16-bit signed; leaving the range is an
// overflow failure, never a silent wrap.
inline std::int16_t checked_int16(long long value) {
    if (value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max()) {
        throw KvalonError(ErrorKind::Overflow, "");
    }
    return static_cast<std::int16_t>(value);
}

inline std::int32_t checked_int32(long long value) {
    if (value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        throw KvalonError(ErrorKind::Overflow, "");
    }
    return static_cast<std::int32_t>(value);
}

} // namespace kvalon
