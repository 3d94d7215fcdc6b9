#include "platform/local_time.h"

namespace kvalon {

// The offset is the local time read as if it were UTC, less the time itself.
LocalTime local_time_now() {
    const std::time_t now = std::time(nullptr);
    LocalTime local;
    if (::localtime_s(&local.parts, &now) == 0) {
        std::tm as_utc = local.parts;
        local.utc_offset_seconds = static_cast<long>(::_mkgmtime(&as_utc) - now);
    }
    return local;
}

} // namespace kvalon
