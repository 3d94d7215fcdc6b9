#pragma once

#include "engine/print_job.h"
#include "engine/printer_surface.h"

namespace kvalon {

// Plans a report in the ESC/P mode, after planning has reset the job and
// measured the paper: reads the report as the printer would and puts the
// printer's page - its longest form and its widest printed line - onto the
// sheet with one scale, at its own size when it fits inside the margins and
// smaller only as far as it must; landscape only when that gives the larger
// scale. One printer page is one sheet. Leaves the source open at its start.
// With job().FitPages, a report that makes its own pages with form feeds
// gets each of them whole on one sheet, however far it runs past the form's
// length, the tallest page setting the scale; a report without form feeds,
// or with a page taller than the longest form (22 inches), is cut at the
// form as without it.
//
// The plan's fields, in the printer's terms: FontSize the size 10-pitch
// letters print at; CharWidth and LineHeight a 10-pitch column and a sixth
// of an inch on the sheet; LongestLine the widest printed line in 10-pitch
// columns; CharsPerLine the 10-pitch columns across the sheet; LinesPerPage
// the first printed page's form in lines of its spacing; LeftIndent the
// page's left edge in those columns; LineCount the line feeds; PageCount the
// printed pages.
//
// Throws KvalonError: File when the source cannot be read, TooManyPages past
// a 32-bit page count, Layout when the sheet has no room inside its margins.
void plan_escp_layout(PrintJob& j, PrinterSurface& surface);

} // namespace kvalon
