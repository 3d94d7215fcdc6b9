#include "printing/sheet_placement.h"

#include "engine/printer_language.h"
#include "engine/units.h"

#include <algorithm>
#include <cmath>

namespace kvalon {

namespace {

// The move along one side that brings [low, high] within [first, last]:
// none when it is within already, none when it cannot be.
double least_move(double low, double high, double first, double last, bool& fits) {
    if (high - low > last - first) {
        fits = false;
        return 0;
    }
    if (low < first) {
        return first - low;
    }
    if (high > last) {
        return last - high;
    }
    return 0;
}

// Whole device pixels, rounded away from zero: the move may be a little
// larger than needed, never smaller.
double whole_pixels(double mm, int dpi) {
    const double mm_per_pixel = MmPerInch / (dpi > 0 ? dpi : DrawingDpi);
    const double pixels = std::ceil(std::abs(mm) / mm_per_pixel - 1e-9);
    return std::copysign(pixels * mm_per_pixel, mm);
}

} // namespace

PageArea planned_cell_area(const PrintJob& j) {
    return page_model(j).printed_area(j);
}

PagePlacement place_within_margins(const PageArea& cells, double width_mm, double height_mm,
                                   bool landscape, const MediaMargins& margins, int dpi) {
    PagePlacement placement;
    if (cells.empty()) {
        return placement;
    }
    double left = margins.left;
    double right = margins.right;
    double top = margins.top;
    double bottom = margins.bottom;
    if (landscape) {
        left = right = std::max(margins.top, margins.bottom);
        top = bottom = std::max(margins.left, margins.right);
    }
    const double across =
        least_move(cells.left, cells.right, left, width_mm - right, placement.whole);
    const double down =
        least_move(cells.top, cells.bottom, top, height_mm - bottom, placement.whole);
    placement.right_mm = whole_pixels(across, dpi);
    placement.down_mm = whole_pixels(down, dpi);
    return placement;
}

void move_page(PageDescription& page, const PagePlacement& placement) {
    const double dx = placement.right_mm;
    const double dy = placement.down_mm;
    if (dx == 0 && dy == 0) {
        return;
    }
    for (Fill& fill : page.fills) {
        fill.x += dx;
        fill.y += dy;
    }
    for (PlacedImage& image : page.images) {
        image.x += dx;
        image.y += dy;
    }
    for (TextRun& run : page.runs) {
        run.baseline += dy;
        for (PlacedGlyph& glyph : run.glyphs) {
            glyph.x += dx;
        }
    }
    for (Stroke& stroke : page.strokes) {
        stroke.x1 += dx;
        stroke.x2 += dx;
        stroke.y1 += dy;
        stroke.y2 += dy;
    }
    if (!page.cells.empty()) {
        page.cells.left += dx;
        page.cells.right += dx;
        page.cells.top += dy;
        page.cells.bottom += dy;
    }
}

PageArea offset_area(const PageArea& cells, const SheetOffset& offset) {
    if (cells.empty()) {
        return cells;
    }
    return {cells.left + offset.across_mm, cells.top + offset.down_mm,
            cells.right + offset.across_mm, cells.bottom + offset.down_mm};
}

bool lies_on_sheet(const PageArea& cells, double width_mm, double height_mm) {
    // A hundredth of a millimetre is rounding, not print off the edge.
    constexpr double kSlack = 0.01;
    return cells.empty() || (cells.left > -kSlack && cells.top > -kSlack &&
                             cells.right < width_mm + kSlack && cells.bottom < height_mm + kSlack);
}

PagePlacement place_offset_page(const PageDescription& page, const MediaMargins& margins) {
    const SheetOffset back{-page.offset.across_mm, -page.offset.down_mm};
    PagePlacement placement =
        place_within_margins(offset_area(page.cells, back), page.width_mm, page.height_mm,
                             page.landscape, margins, page.dpi);
    if (page.offset.is_zero() || !placement.whole) {
        return placement;
    }
    const PageArea& cells = page.cells;
    const PageArea placed{cells.left + placement.right_mm, cells.top + placement.down_mm,
                          cells.right + placement.right_mm, cells.bottom + placement.down_mm};
    const PagePlacement again = place_within_margins(placed, page.width_mm, page.height_mm,
                                                     page.landscape, margins, page.dpi);
    placement.whole = again.right_mm == 0 && again.down_mm == 0;
    return placement;
}

} // namespace kvalon
