#include "platform/local_time.h"

namespace kvalon {

LocalTime local_time_now() {
    const std::time_t now = std::time(nullptr);
    LocalTime local;
    localtime_r(&now, &local.parts);
    local.utc_offset_seconds = local.parts.tm_gmtoff;
    return local;
}

} // namespace kvalon
