#pragma once

#include "engine/bit_image.h"

#include <cstdint>

namespace kvalon {

// A rectangle filled with one of the six cross-hatch patterns, as the
// printer's dots (300 to the inch) over the dots the rectangle covers.
struct PclHatch {
    std::int64_t x = 0; // its top-left dot's place on the page (1/7200 inch)
    std::int64_t y = 0;
    std::int64_t dot = 0;
    BitImage image;
};

// The LaserJet's patterns are tiles 16 dots square anchored at the page's
// corner, their lines 2 dots thick: 1 across, 2 down, 3 rising to the right,
// 4 falling to the right, 5 across and down, 6 both diagonals. The rectangle
// is given in 1/7200 inch on the page; a pattern outside 1..6 gives no dots.
PclHatch pcl_hatch(int pattern, std::int64_t x, std::int64_t y, std::int64_t width,
                   std::int64_t height);

} // namespace kvalon
