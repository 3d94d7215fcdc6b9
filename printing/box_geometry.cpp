#include "printing/box_geometry.h"

#include <algorithm>
#include <initializer_list>

namespace kvalon {

namespace {

// Box, shade and block characters; nothing outside is drawn.
constexpr char32_t kFirstDrawn = 0x2500;
constexpr char32_t kLastDrawn = 0x259F;

BoxStrokes strokes(std::initializer_list<Segment> list) {
    BoxStrokes result;
    for (const Segment& s : list) {
        result.segments[static_cast<std::size_t>(result.count++)] = s;
    }
    return result;
}

std::optional<BoxStrokes> single_line(char32_t character, float w, float h) {
    const float w2 = w / 2;
    const float h2 = h / 2;
    const float up = -h2;
    const float down = 3 * h2;
    const float beyond = 3 * w2;
    switch (character) {
    case U'┌':
        return strokes({{w2, h2, w, h2}, {w2, h2, w2, down}});
    case U'─':
        return strokes({{0, h2, w, h2}});
    case U'┬':
        return strokes({{0, h2, beyond, h2}, {w2, h2, w2, down}});
    case U'┐':
        return strokes({{0, h2, w2, h2}, {w2, h2, w2, down}});
    case U'│':
        return strokes({{w2, up, w2, down}});
    case U'├':
        return strokes({{w2, up, w2, down}, {w2, h2, w, h2}});
    case U'┼':
        return strokes({{w2, up, w2, down}, {0, h2, beyond, h2}});
    case U'┤':
        return strokes({{w2, up, w2, down}, {0, h2, w2, h2}});
    case U'└':
        return strokes({{w2, up, w2, h2}, {w2, h2, w, h2}});
    case U'┴':
        return strokes({{0, h2, beyond, h2}, {w2, up, w2, h2}});
    case U'┘':
        return strokes({{0, h2, w2, h2}, {w2, up, w2, h2}});
    default:
        return std::nullopt;
    }
}

std::optional<BoxStrokes> double_line(char32_t character, float w, float h) {
    const float d = double_line_offset(w, h);
    const float l = w / 2 - d; // left stroke of a vertical pair
    const float r = w / 2 + d; // right stroke
    const float t = h / 2 - d; // upper stroke of a horizontal pair
    const float b = h / 2 + d; // lower stroke
    switch (character) {
    case U'═':
        return strokes({{0, t, w, t}, {0, b, w, b}});
    case U'║':
        return strokes({{l, 0, l, h}, {r, 0, r, h}});
    case U'╔':
        return strokes({{l, t, w, t}, {l, t, l, h}, {r, b, w, b}, {r, b, r, h}});
    case U'╗':
        return strokes({{0, t, r, t}, {r, t, r, h}, {0, b, l, b}, {l, b, l, h}});
    case U'╚':
        return strokes({{l, 0, l, b}, {l, b, w, b}, {r, 0, r, t}, {r, t, w, t}});
    case U'╝':
        return strokes({{r, 0, r, b}, {0, b, r, b}, {l, 0, l, t}, {0, t, l, t}});
    case U'╦':
        return strokes({{0, t, w, t}, {0, b, l, b}, {l, b, l, h}, {r, b, w, b}, {r, b, r, h}});
    case U'╩':
        return strokes({{0, b, w, b}, {0, t, l, t}, {l, 0, l, t}, {r, t, w, t}, {r, 0, r, t}});
    case U'╠':
        return strokes({{l, 0, l, h}, {r, 0, r, t}, {r, t, w, t}, {r, b, w, b}, {r, b, r, h}});
    case U'╣':
        return strokes({{r, 0, r, h}, {l, 0, l, t}, {0, t, l, t}, {0, b, l, b}, {l, b, l, h}});
    case U'╬':
        return strokes({{l, 0, l, t},
                        {0, t, l, t},
                        {r, 0, r, t},
                        {r, t, w, t},
                        {0, b, l, b},
                        {l, b, l, h},
                        {r, b, w, b},
                        {r, b, r, h}});
    default:
        return std::nullopt;
    }
}

// Single lines keep their reach into the rows above and below and, through a
// joint, into the next cell; double lines keep theirs to the cell edges.
std::optional<BoxStrokes> mixed_line(char32_t character, float w, float h) {
    const float w2 = w / 2;
    const float h2 = h / 2;
    const float up = -h2;
    const float down = 3 * h2;
    const float beyond = 3 * w2;
    const float d = double_line_offset(w, h);
    const float l = w2 - d;
    const float r = w2 + d;
    const float t = h2 - d;
    const float b = h2 + d;
    switch (character) {
    case U'╒':
        return strokes({{w2, t, w, t}, {w2, b, w, b}, {w2, t, w2, down}});
    case U'╓':
        return strokes({{l, h2, w, h2}, {l, h2, l, h}, {r, h2, r, h}});
    case U'╕':
        return strokes({{0, t, w2, t}, {0, b, w2, b}, {w2, t, w2, down}});
    case U'╖':
        return strokes({{0, h2, r, h2}, {l, h2, l, h}, {r, h2, r, h}});
    case U'╘':
        return strokes({{w2, up, w2, b}, {w2, t, w, t}, {w2, b, w, b}});
    case U'╙':
        return strokes({{l, 0, l, h2}, {r, 0, r, h2}, {l, h2, w, h2}});
    case U'╛':
        return strokes({{w2, up, w2, b}, {0, t, w2, t}, {0, b, w2, b}});
    case U'╜':
        return strokes({{l, 0, l, h2}, {r, 0, r, h2}, {0, h2, r, h2}});
    case U'╞':
        return strokes({{w2, up, w2, down}, {w2, t, w, t}, {w2, b, w, b}});
    case U'╟':
        return strokes({{l, 0, l, h}, {r, 0, r, h}, {r, h2, w, h2}});
    case U'╡':
        return strokes({{w2, up, w2, down}, {0, t, w2, t}, {0, b, w2, b}});
    case U'╢':
        return strokes({{l, 0, l, h}, {r, 0, r, h}, {0, h2, l, h2}});
    case U'╤':
        return strokes({{0, t, w, t}, {0, b, w, b}, {w2, b, w2, down}});
    case U'╥':
        return strokes({{0, h2, beyond, h2}, {l, h2, l, h}, {r, h2, r, h}});
    case U'╧':
        return strokes({{0, t, w, t}, {0, b, w, b}, {w2, up, w2, t}});
    case U'╨':
        return strokes({{0, h2, beyond, h2}, {l, 0, l, h2}, {r, 0, r, h2}});
    case U'╪':
        return strokes({{0, t, w, t}, {0, b, w, b}, {w2, up, w2, down}});
    case U'╫':
        return strokes({{l, 0, l, h}, {r, 0, r, h}, {0, h2, beyond, h2}});
    default:
        return std::nullopt;
    }
}

} // namespace

bool is_drawn_symbol(char32_t character) {
    return character >= kFirstDrawn && character <= kLastDrawn;
}

float double_line_offset(float w, float h) {
    return std::min(w, h) / 5;
}

std::optional<BoxStrokes> box_strokes(char32_t character, float w, float h) {
    // Letters, by far the most cells, are turned away before the tables.
    if (!is_drawn_symbol(character)) {
        return std::nullopt;
    }
    if (auto single = single_line(character, w, h)) {
        return single;
    }
    if (auto twin = double_line(character, w, h)) {
        return twin;
    }
    return mixed_line(character, w, h);
}

std::optional<CellFill> cell_fill(char32_t character, float w, float h) {
    constexpr int kBlack = 0;
    if (!is_drawn_symbol(character)) {
        return std::nullopt;
    }
    switch (character) {
    case U'░':
        return CellFill{0, 0, w, h, 191};
    case U'▒':
        return CellFill{0, 0, w, h, 128};
    case U'▓':
        return CellFill{0, 0, w, h, 64};
    case U'█':
        return CellFill{0, 0, w, h, kBlack};
    case U'▄':
        return CellFill{0, h / 2, w, h / 2, kBlack};
    case U'▌':
        return CellFill{0, 0, w / 2, h, kBlack};
    case U'▐':
        return CellFill{w / 2, 0, w / 2, h, kBlack};
    case U'▀':
        return CellFill{0, 0, w, h / 2, kBlack};
    default:
        return std::nullopt;
    }
}

} // namespace kvalon
