#pragma once

#include <array>
#include <optional>

namespace kvalon {

// One stroke of a box character, as offsets in millimetres from the cell's
// top-left corner, right and down positive.
struct Segment {
    float x1, y1, x2, y2;
};

inline constexpr int kMaxBoxSegments = 8;

struct BoxStrokes {
    std::array<Segment, kMaxBoxSegments> segments{};
    int count = 0;
};

// A part of the cell filled with a grey level (0 black .. 255 white).
struct CellFill {
    float x, y, width, height;
    int grey;
};

// The strokes that stand for a box-drawing character (by its Unicode code
// point, whatever code page the report is in) in a cell w wide and h high, or
// nothing for any other character.
//
// Single lines run through the cell's middle lines; vertical strokes reach the
// centres of the rows above and below so columns overlap and never break, and
// the horizontal strokes of tees and crosses reach half a cell into the next
// cell. Double lines are two strokes at a distance on each side of the middle
// line and reach the cell edges, so that their inner corners stay clean where
// strokes of neighbouring cells meet. A single line that meets a double one
// ends on its nearer stroke at a joint and on its farther stroke at a corner,
// as the characters look.
std::optional<BoxStrokes> box_strokes(char32_t character, float w, float h);

// The fill that stands for a shade or block character, or nothing.
std::optional<CellFill> cell_fill(char32_t character, float w, float h);

// True for the characters that are drawn rather than printed as a glyph: the
// box characters box_strokes knows and the shades and blocks cell_fill knows.
bool is_drawn_symbol(char32_t character);

// Half the distance between the two strokes of a double line.
float double_line_offset(float w, float h);

} // namespace kvalon
