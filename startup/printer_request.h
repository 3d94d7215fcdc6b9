#pragma once

#include "printing/system_printers.h"
#include "startup/command_line.h"

namespace kvalon {

// The printer the options and the environment ask for: --printer, --pdf or
// KVALON_PDF, --paper or KVALON_PAPER, --copies, KVALON_JOB_WAIT. Throws
// KvalonError(CommandLine) for a paper code the PDF printer does not know or
// an unusable setting.
PrinterRequest printer_request(const ProgramOptions& options);

// A printer named for this run wins over the one the windows remember.
bool names_a_printer(const ProgramOptions& options);

} // namespace kvalon
