#pragma once

#include "engine/code_page_guess.h"
#include "engine/page_model.h"
#include "engine/print_job.h"

#include <optional>

namespace kvalon {

// Sets j.CodePage and j.CodePageCertainty from j.CodePageAsked: the page
// asked for, or, for `auto`, the page told from the beginning of the report
// at j.SourcePath (engine/code_page_guess.h), read as the printer reads it
// in the ESC/P mode (the job's `model` reads it). Nothing asked is MIK. A report that cannot be
// read is taken as MIK: planning reports the fault when it reads it.
void choose_job_code_page(PrintJob& j, const PageModel& model);

// The page the beginning of the report at j.SourcePath tells surely, when
// it prints the report otherwise than j.CodePage: a page chosen by hand that
// makes garbage of this report. Nothing when the guess is unsure or agrees.
std::optional<CodePageGuess> code_page_told_otherwise(const PrintJob& j, const PageModel& model);

} // namespace kvalon
