#include "printing/box_geometry.h"

#include "engine/control_codes.h"

#include <algorithm>
#include <initializer_list>

namespace kvalon {

namespace {

// Box, shade and block characters lie from 192 to here; no other code is drawn.
constexpr unsigned char kLastDrawnSymbol = 223;

BoxStrokes strokes(std::initializer_list<Segment> list) {
    BoxStrokes result;
    for (const Segment& s : list) {
        result.segments[static_cast<std::size_t>(result.count++)] = s;
    }
    return result;
}

std::optional<BoxStrokes> single_line(unsigned char code, float w, float h) {
    const float w2 = w / 2;
    const float h2 = h / 2;
    const float up = -h2;
    const float down = 3 * h2;
    const float beyond = 3 * w2;
    switch (code) {
    case 218: // ┌
        return strokes({{w2, h2, w, h2}, {w2, h2, w2, down}});
    case 196: // ─
        return strokes({{0, h2, w, h2}});
    case 194: // ┬
        return strokes({{0, h2, beyond, h2}, {w2, h2, w2, down}});
    case 207: // ┐
        return strokes({{0, h2, w2, h2}, {w2, h2, w2, down}});
    case 211: // │
        return strokes({{w2, up, w2, down}});
    case 195: // ├
        return strokes({{w2, up, w2, down}, {w2, h2, w, h2}});
    case 197: // ┼
        return strokes({{w2, up, w2, down}, {0, h2, beyond, h2}});
    case 212: // ┤
        return strokes({{w2, up, w2, down}, {0, h2, w2, h2}});
    case 192: // └
        return strokes({{w2, up, w2, h2}, {w2, h2, w, h2}});
    case 193: // ┴
        return strokes({{0, h2, beyond, h2}, {w2, up, w2, h2}});
    case 217: // ┘
        return strokes({{0, h2, w2, h2}, {w2, up, w2, h2}});
    default:
        return std::nullopt;
    }
}

std::optional<BoxStrokes> double_line(unsigned char code, float w, float h) {
    const float d = double_line_offset(w, h);
    const float l = w / 2 - d; // left stroke of a vertical pair
    const float r = w / 2 + d; // right stroke
    const float t = h / 2 - d; // upper stroke of a horizontal pair
    const float b = h / 2 + d; // lower stroke
    switch (code) {
    case 205: // ═
        return strokes({{0, t, w, t}, {0, b, w, b}});
    case 199: // ║
        return strokes({{l, 0, l, h}, {r, 0, r, h}});
    case 201: // ╔
        return strokes({{l, t, w, t}, {l, t, l, h}, {r, b, w, b}, {r, b, r, h}});
    case 215: // ╗
        return strokes({{0, t, r, t}, {r, t, r, h}, {0, b, l, b}, {l, b, l, h}});
    case 200: // ╚
        return strokes({{l, 0, l, b}, {l, b, w, b}, {r, 0, r, t}, {r, t, w, t}});
    case 216: // ╝
        return strokes({{r, 0, r, b}, {0, b, r, b}, {l, 0, l, t}, {0, t, l, t}});
    case 203: // ╦
        return strokes({{0, t, w, t}, {0, b, l, b}, {l, b, l, h}, {r, b, w, b}, {r, b, r, h}});
    case 202: // ╩
        return strokes({{0, b, w, b}, {0, t, l, t}, {l, 0, l, t}, {r, t, w, t}, {r, 0, r, t}});
    case 204: // ╠
        return strokes({{l, 0, l, h}, {r, 0, r, t}, {r, t, w, t}, {r, b, w, b}, {r, b, r, h}});
    case 198: // ╣
        return strokes({{r, 0, r, h}, {l, 0, l, t}, {0, t, l, t}, {0, b, l, b}, {l, b, l, h}});
    case 206: // ╬
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

} // namespace

bool is_drawn_symbol(unsigned char code) {
    return code >= codes::FirstMikSymbol && code <= kLastDrawnSymbol;
}

float double_line_offset(float w, float h) {
    return std::min(w, h) / 5;
}

std::optional<BoxStrokes> box_strokes(unsigned char code, float w, float h) {
    // Letters, by far the most cells, are turned away before either table.
    if (!is_drawn_symbol(code)) {
        return std::nullopt;
    }
    if (auto single = single_line(code, w, h)) {
        return single;
    }
    return double_line(code, w, h);
}

std::optional<CellFill> cell_fill(unsigned char code, float w, float h) {
    constexpr int kBlack = 0;
    if (!is_drawn_symbol(code)) {
        return std::nullopt;
    }
    switch (code) {
    case 208: // ░
        return CellFill{0, 0, w, h, 191};
    case 209: // ▒
        return CellFill{0, 0, w, h, 128};
    case 210: // ▓
        return CellFill{0, 0, w, h, 64};
    case 219: // █
        return CellFill{0, 0, w, h, kBlack};
    case 220: // ▄
        return CellFill{0, h / 2, w, h / 2, kBlack};
    case 221: // ▌
        return CellFill{0, 0, w / 2, h, kBlack};
    case 222: // ▐
        return CellFill{w / 2, 0, w / 2, h, kBlack};
    case 223: // ▀
        return CellFill{0, 0, w, h / 2, kBlack};
    default:
        return std::nullopt;
    }
}

} // namespace kvalon
