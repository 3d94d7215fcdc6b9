#pragma once

#include "engine/print_job.h"

#include <string>

namespace kvalon {

// The plan as Name=value lines, numbers in the C locale, CharWidth and
// LineHeight with four decimals. The last lines name the code page the report
// is read in, "(auto)" after it when planning told it from the report, then
// how sure it is in percent (CodePageCertainty).
std::string plan_report(const PrintJob& j);

} // namespace kvalon
