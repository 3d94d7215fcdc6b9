#pragma once

#include "engine/bit_image.h"

#include <string>
#include <vector>

namespace kvalon {

// A face as GDI is asked for it: its height in device pixels (the em, not
// the cell) and, for stretched or narrowed print, the average glyph width.
struct GdiFont {
    std::string family;
    int em_pixels = 0;
    int width_pixels = 0; // 0: the face's own width
    bool bold = false;
    bool italic = false;
    bool operator==(const GdiFont&) const = default;
};

// A printer's page as GDI draws on it: device pixels from the corner of
// what the printer prints on, x to the right, y down. The Windows printer
// context stands behind it; tests record what is drawn.
class GdiCanvas {
public:
    virtual ~GdiCanvas() = default;

    // Fills [left, right) x [top, bottom) with a grey level, 0 black .. 255 white.
    virtual void fill(int left, int top, int right, int bottom, int grey) = 0;
    // A black dot picture stretched over the rectangle; clear dots leave what
    // is under them.
    virtual void stretch_image(int left, int top, int width, int height, const BitImage& dots) = 0;
    // Glyphs on one baseline, the first at `x`, each next one `advances`
    // pixels after the one before (as many advances as characters).
    virtual void text(const GdiFont& font, int x, int baseline, const std::u16string& characters,
                      const std::vector<int>& advances) = 0;
    // A black line with square caps, `width` pixels wide.
    virtual void line(int x1, int y1, int x2, int y2, int width) = 0;
};

} // namespace kvalon
