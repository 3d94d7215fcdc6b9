#pragma once

#include "engine/print_job.h"

namespace kvalon {

// Sets j.CodePage and j.CodePageCertainty from j.CodePageAsked: the page
// asked for, or, for `auto`, the page told from the beginning of the report
// at j.SourcePath (engine/code_page_guess.h), read as the printer reads it
// in the ESC/P mode. Nothing asked is MIK. A report that cannot be read is
// taken as MIK: planning reports the fault when it reads it.
void choose_job_code_page(PrintJob& j);

} // namespace kvalon
