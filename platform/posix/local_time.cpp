#include "platform/local_time.h"

namespace kvalon {

LocalTime local_time(std::time_t when) {
    LocalTime local;
    localtime_r(&when, &local.fields);
    local.offset_minutes = local.fields.tm_gmtoff / 60;
    return local;
}

} // namespace kvalon
