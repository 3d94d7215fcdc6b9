#pragma once

#include "engine/print_job.h"

#include <string>

namespace kvalon {

// The plan as Name=value lines, numbers in the C locale, CharWidth and
// LineHeight with four decimals. In the ESC/P mode Escp=1 follows, with the
// printer's page: FormLength and PrintedWidth in inches, the Scale it is
// printed at and its corner on the sheet, LeftMm and TopMm.
std::string plan_report(const PrintJob& j);

} // namespace kvalon
