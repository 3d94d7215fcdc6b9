#pragma once

#include "engine/print_job.h"

#include <string>

namespace kvalon {

// The plan as Name=value lines, numbers in the C locale, CharWidth and
// LineHeight with four decimals.
std::string plan_report(const PrintJob& j);

} // namespace kvalon
