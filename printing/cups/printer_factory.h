#pragma once

#include "engine/printer_surface.h"
#include "printing/printer_target.h"

#include <memory>

namespace kvalon {

// The printer surface for a target: a CUPS queue with its own paper (fonts in
// pixels of 1/1200 inch), or the built-in PDF printer (600 dpi, the whole
// sheet printable). Both measure and print in the program's font file.
std::unique_ptr<PrinterSurface> make_printer_surface(const PrinterTarget& target);

} // namespace kvalon
