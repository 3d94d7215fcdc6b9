#pragma once

#include "engine/job_preview.h"
#include "engine/print_job.h"

#include <string>

namespace kvalon {

// The plan as Name=value lines, numbers in the C locale, CharWidth and
// LineHeight with four decimals. In the ESC/P mode Escp=1 follows, with the
// printer's page: FormLength and PrintedWidth in inches, the Scale it is
// printed at and its corner on the sheet, LeftMm and TopMm. The last lines
// name the code page the report is read in, "(auto)" after it when planning
// told it from the report, then how sure it is in percent
// (CodePageCertainty).
std::string plan_report(const PrintJob& j);

// What a print queue is told with the job, as lines after the plan:
// JobOptions= the settings, Note= why some cells may not print there. Nothing
// for a printer that is told nothing (the PDF printer), so that the plan for
// it stays as it always was.
std::string job_report(const JobPreview& preview);

} // namespace kvalon
