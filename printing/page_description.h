#pragma once

#include "engine/bit_image.h"
#include "engine/page_area.h"
#include "engine/sheet_offset.h"
#include "engine/units.h"

#include <cstddef>
#include <string>
#include <vector>

namespace kvalon {

// One printed page, built once by the printer surface and handed to whichever
// sink is asked for: a PDF file, a CUPS job, the on-screen page view. What the
// sinks show of a page is exactly this, so two sinks given the same page show
// the same thing.
//
// Units: positions and lengths are millimetres from the top-left corner of the
// sheet as it lies (after orientation), x to the right, y down. Font sizes are
// points. Sinks draw fills first, then pictures, then text, then strokes.

// A face as the page uses it.
struct PageFace {
    std::string family;     // e.g. "CourierCyr"
    double points = 0;      // the size the device really uses (whole device pixels)
    bool bold = false;      // synthesised when the family has no bold face
    bool italic = false;    // slanted by kItalicSlant
    double width_scale = 1; // 2: every glyph stretched to twice its width; < 1 narrower
    bool operator==(const PageFace&) const = default;
};

// Slanted print leans each point of a glyph right by this share of its height
// above the baseline; every sink draws italics with it.
inline constexpr double kItalicSlant = 0.2;

struct PlacedGlyph {
    char32_t code = 0; // Unicode; blanks are not placed
    double x = 0;      // the glyph's origin (left end of its advance)
};

// Glyphs of one face on one baseline, left to right.
struct TextRun {
    std::size_t face = 0; // index into PageDescription::faces
    double baseline = 0;
    std::vector<PlacedGlyph> glyphs;
};

// A black straight line with square caps.
struct Stroke {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    double width = 0;
};

// A rectangle filled with a grey level, 0 black .. 255 white. Edges lie on the
// device pixels of `PageDescription::dpi`, so neighbouring cells touch.
struct Fill {
    double x = 0, y = 0, width = 0, height = 0;
    int grey = 0;
};

// A picture of black dots stretched over a rectangle; its other dots are
// clear and leave what is under them.
struct PlacedImage {
    double x = 0, y = 0, width = 0, height = 0;
    BitImage dots;
};

struct PageDescription {
    double width_mm = 0; // the sheet as it lies
    double height_mm = 0;
    double width_points = 0; // the media box, as the paper size names it
    double height_points = 0;
    bool landscape = false;
    int dpi = DrawingDpi; // the resolution fills and font sizes were rounded to
    PageArea cells;       // where the plan puts its cells; empty when not told
    // How far the surface has moved everything on the page (cells included)
    // for its printer's feed; the plan put them that much the other way.
    SheetOffset offset;
    std::vector<PageFace> faces;
    std::vector<Fill> fills;
    std::vector<PlacedImage> images;
    std::vector<TextRun> runs;
    std::vector<Stroke> strokes; // touching collinear strokes already joined
};

} // namespace kvalon
