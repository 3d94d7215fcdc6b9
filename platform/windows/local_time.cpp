#include "platform/local_time.h"

namespace kvalon {

// The offset is the local time read as if it were UTC, less the time itself.
LocalTime local_time(std::time_t when) {
    LocalTime local;
    if (::localtime_s(&local.fields, &when) == 0) {
        std::tm as_utc = local.fields;
        local.offset_minutes = static_cast<long>(::_mkgmtime(&as_utc) - when) / 60;
    }
    return local;
}

} // namespace kvalon
