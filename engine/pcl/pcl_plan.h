#pragma once

#include "engine/print_job.h"
#include "engine/printer_surface.h"

namespace kvalon {

// Plans a PCL job, after planning has reset the job and measured the paper:
// reads the job as a LaserJet would and asks for the sheet its first printed
// page names (its size and orientation; a printer that has no A4 keeps its
// own paper), the page put on it at its own size when it fits and smaller
// only as far as it must, centred. One page of the job is one sheet.
// Leaves the source open at its start.
//
// The plan's fields, in the printer's terms: FontSize the size 10-pitch
// letters print at; CharWidth and LineHeight a 10-pitch column and a sixth
// of an inch on the sheet; LongestLine the rightmost mark in 10-pitch
// columns; CharsPerLine the 10-pitch columns across the sheet; LinesPerPage
// the first printed page's text length in lines of 6 to the inch, as a DOS
// caller asks for it; LineCount the line feeds; PageCount the printed pages.
//
// Throws KvalonError: File when the source cannot be read, TooManyPages past
// a 32-bit page count, PageTooFull, Layout when the sheet has no room.
void plan_pcl_layout(PrintJob& j, PrinterSurface& surface);

// The sheet of a page's size (PCL's number) set on the surface as the page
// lies; a printer without A4 keeps its own paper for it.
void set_pcl_sheet(PrinterSurface& surface, int page_size, bool landscape);

// Where a page (1/7200 inch) goes on the surface's sheet: at its own size
// when it fits, else smaller, centred; a zero scale when either has no room.
struct PclSheetPlace {
    double scale = 0;
    double left_mm = 0;
    double top_mm = 0;
};
PclSheetPlace pcl_sheet_place(const PrinterSurface& surface, std::int64_t page_width,
                              std::int64_t page_length);

} // namespace kvalon
