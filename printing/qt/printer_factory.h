#pragma once

#include "engine/printer_surface.h"
#include "printing/printer_target.h"

#include <memory>

namespace kvalon {

// The printer surface for a target: a CUPS queue with its own paper and
// resolution, or the built-in PDF printer (DrawingDpi, the whole sheet printable).
// Needs a running Qt application (fonts).
std::unique_ptr<PrinterSurface> make_printer_surface(const PrinterTarget& target);

} // namespace kvalon
