#pragma once

#include "engine/page_model.h"
#include "engine/print_job.h"
#include "engine/printer_surface.h"

namespace kvalon {

// Prints j.PrintText, one page of a PCL job, on the sheet as the printer laid
// it out: the page at j.Pcl->Scale, its top-left corner at (j.Pcl->LeftMm,
// j.Pcl->TopMm). Letters stay text in the job's face, at their font's height
// and stretched to its pitch, standing on the cursor's line; bold and italic
// go to the surface's font; box characters are strokes and shades fills as
// in the default mode; rectangles and underlines are fills; raster graphics
// are one-bit pictures, the rows of one picture joined into one. Leaves the
// surface in normal weight, upright and unstretched.
// Letters go through `cells`.
void print_pcl_page(const PrintJob& j, PrinterSurface& surface, CellPainter& cells);

} // namespace kvalon
