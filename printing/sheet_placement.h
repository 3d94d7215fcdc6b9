#pragma once

#include "engine/print_job.h"
#include "engine/printer_surface.h"
#include "printing/page_description.h"

namespace kvalon {

// Millimetres a printer leaves unprinted at each edge of a sheet lying
// portrait.
struct MediaMargins {
    double top = 0;
    double bottom = 0;
    double left = 0;
    double right = 0;
};

// Where the plan puts the cells of every page: after the indentation as many
// cells across as the longest line has (CharsPerLine at most), below the two
// empty lines up to LinesPerPage lines down; in the ESC/P mode the printer's
// page as it lies on the sheet. Empty before planning.
PageArea planned_cell_area(const PrintJob& j);

// How far a page moves on its sheet so that `cells` lie within what the
// printer prints, and whether they then all do.
struct PagePlacement {
    double right_mm = 0; // negative: to the left
    double down_mm = 0;  // negative: up
    bool whole = true;   // false: the cells need more room than the printer prints on
};

// The least move of a page of `width_mm` x `height_mm` (as it lies) that
// brings `cells` within `margins`, in whole device pixels of `dpi` so that
// shaded cells still touch. Along a side where the cells need more room than
// the printer prints on, the page stays where it was planned. A landscape
// page is turned onto the sheet one way or the other depending on the
// printer, so each of its edges keeps the larger margin of the two sheet
// edges it may land on.
PagePlacement place_within_margins(const PageArea& cells, double width_mm, double height_mm,
                                   bool landscape, const MediaMargins& margins, int dpi);

// Moves everything drawn on `page` (and its cell area) by `placement`.
void move_page(PageDescription& page, const PagePlacement& placement);

// `cells` moved by `offset`.
PageArea offset_area(const PageArea& cells, const SheetOffset& offset);

// Whether `cells` (when told) lie on a sheet of `width_mm` x `height_mm`.
bool lies_on_sheet(const PageArea& cells, double width_mm, double height_mm);

// The move within `margins` of a page its surface has moved by its offset:
// the least move of the planned cells, as for a page without an offset, so
// that the offset still moves the print on the sheet; `whole` is false when
// the cells, moved and offset, do not all lie within the margins.
PagePlacement place_offset_page(const PageDescription& page, const MediaMargins& margins);

} // namespace kvalon
