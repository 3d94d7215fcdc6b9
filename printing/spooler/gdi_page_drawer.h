#pragma once

#include "printing/page_description.h"
#include "printing/spooler/gdi_canvas.h"
#include "printing/spooler/spooler_api.h"

namespace kvalon {

// Our font's every glyph is this share of the em wide: a stretched face is
// asked for with that average width times its stretch.
inline constexpr double kCellWidthShare = 0.6;

// Draws `page` on `canvas`, a printer's page of `area`: millimetres from the
// sheet's corner become the device's pixels from the corner of what it
// prints on. Fills first, then pictures, then text, then lines, as every
// sink draws them.
void draw_page_on(const PageDescription& page, const DeviceArea& area, GdiCanvas& canvas);

} // namespace kvalon
