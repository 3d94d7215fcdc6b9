#pragma once

#include "engine/page_model.h"
#include "engine/print_job.h"
#include "engine/printer_surface.h"

namespace kvalon {

// Prints j.PrintText, one printer page of a report in the ESC/P mode, on the
// sheet as the printer laid it out: the printer's page at j.Escp->Scale, its
// top-left corner at (j.Escp->LeftMm, j.Escp->TopMm). Letters stay text in the
// job's font, 10-pitch letters at 12 points, narrower and wider pitches
// stretched to their width; bold, italic and double width go to the
// surface's font, underline is a line under the letter; box characters are
// strokes and shades fills as in the default mode; dots are one-bit
// pictures, the bands of one picture joined into one. Leaves the surface in
// normal weight, upright and unstretched, its position at the page's left
// edge under the lowest thing printed.
// Letters go through `cells`.
void print_escp_page(const PrintJob& j, PrinterSurface& surface, CellPainter& cells);

} // namespace kvalon
