#pragma once

#include "engine/print_job.h"
#include "engine/printer_surface.h"

namespace kvalon {

// Prints j.PrintText in the ESC/P mode, from the attributes in force where
// the page begins (j.EscpPageStart): sequences and control bytes take no
// cell; bold, italic and double width go to the surface's font, underline
// is a line under the cells. The bold marker keeps its own rule: it switches
// bold, and every line end switches it off. The indentation is printed plain.
// Leaves the surface in normal weight, upright and single width.
void print_escp_text(const PrintJob& j, PrinterSurface& surface);

} // namespace kvalon
