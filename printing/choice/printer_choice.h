#pragma once

#include "printing/destination.h"
#include "printing/system_printers.h"

#include <memory>
#include <string>

namespace kvalon {

// The system's print service, whose printers the program offers besides the
// built-in PDF printer.
const SystemPrinters& system_printers();

// The printer that prints, asked once: the PDF printer when the request names
// a file (1 printer; the print service is not asked), else a printer of the
// system's print service (SystemPrinters::choose), which throws as it does.
PrinterChoice choose_printer(const PrinterRequest& request);

// The built-in PDF printer writing `path`, picked in the windows: on the paper
// and with the copies of `bound` when that is the PDF printer too.
std::shared_ptr<const Destination> picked_pdf_printer(const Destination* bound,
                                                      const std::string& path);

// The printer the windows remembered, when it can still print; null when it
// cannot or its kind is not one the program knows.
std::shared_ptr<const Destination> restore_printer(const RememberedPrinter& remembered);

} // namespace kvalon
