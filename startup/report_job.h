#pragma once

#include "printing/system_printers.h"
#include "startup/command_line.h"
#include "startup/start_sequence.h"

#include <functional>

namespace kvalon {

class PrinterBinding;

// Chooses the printer, once, when the start sequence asks for it (it may ask
// the print service).
using PrinterChooser = std::function<PrinterChoice()>;

// What the program does with its words, for
// `kvalon-p` and the print-server backend alike: a report on standard input
// ("-") is copied first, the ESC/P mode is taken from the options or
// KVALON_ESCP, the printer `choose` gives is bound in `binding`, the start
// sequence runs with `hooks` for the font, the windows and standard output
// (the printer hooks are filled in here), and the finished document is handed
// over. Returns the exit status of a job that completed. When anything fails
// the open document is dropped, so nothing of a failed job reaches the
// printer, and the failure propagates.
int run_report_job(const ProgramOptions& options, const PrinterChooser& choose, StartHooks hooks,
                   PrinterBinding& binding);

} // namespace kvalon
