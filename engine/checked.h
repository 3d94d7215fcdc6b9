#pragma once

#include "engine/error.h"

#include <cstdint>
#include <limits>
#include <string>

namespace kvalon {

// Counts and sizes of a job are 16-bit signed (line counts 32-bit); leaving
// the range is the failure `kind` of the report `path`, never a silent wrap.
template <typename Int> Int checked_int(long long value, ErrorKind kind, const std::string& path) {
    if (value < std::numeric_limits<Int>::min() || value > std::numeric_limits<Int>::max()) {
        throw KvalonError(kind, path);
    }
    return static_cast<Int>(value);
}

inline std::int16_t checked_int16(long long value, ErrorKind kind, const std::string& path) {
    return checked_int<std::int16_t>(value, kind, path);
}

} // namespace kvalon
