#include "engine/pcl/pcl_printer.h"
#include "engine/pcl/pcl_raster_rows.h"

#include <algorithm>
#include <cmath>

namespace kvalon {

namespace {

constexpr int kWhite = 255;

// A shade's percentage as the printer rounds it to its eight levels.
int shade_level(int percent) {
    constexpr int kLevels[][2] = {{0, 0},   {2, 2},   {10, 10}, {20, 15},
                                  {35, 30}, {55, 45}, {80, 70}, {99, 90}};
    for (const auto& level : kLevels) {
        if (percent <= level[0]) {
            return level[1];
        }
    }
    return 100;
}

int grey_of_percent(int percent) {
    return static_cast<int>(std::lround(kWhite * (100 - percent) / 100.0));
}

bool resolution_valid(int dpi) {
    return dpi == 75 || dpi == 100 || dpi == 150 || dpi == 200 || dpi == 300 || dpi == 600;
}

} // namespace

// ESC *c: the rectangle's size, its pattern and its fill at the cursor.
bool PclPrinter::apply_rectangle(const PclCommand& command) {
    if (command.parameterized != '*' || command.group != 'c') {
        return false;
    }
    PclState& s = m_state;
    const auto size = [&command](double per) {
        return std::llround(std::clamp(command.value, 0.0, 32767.0) * per);
    };
    switch (command.terminator) {
    case 'A':
        s.rectangle_width = size(static_cast<double>(s.pcl_unit));
        break;
    case 'B':
        s.rectangle_height = size(static_cast<double>(s.pcl_unit));
        break;
    case 'H':
        s.rectangle_width = size(kPclUnitsPerDecipoint);
        break;
    case 'V':
        s.rectangle_height = size(kPclUnitsPerDecipoint);
        break;
    case 'G':
        s.pattern = static_cast<int>(std::clamp(command.value, 0.0, 100.0));
        break;
    case 'P': {
        // A pattern of the job's own (4, 5) prints black.
        const int kind = static_cast<int>(std::clamp(command.value, 0.0, 5.0));
        const int hatch = kind == 3 ? std::clamp(s.pattern, 1, 6) : 0;
        const int grey = kind == 1   ? kWhite
                         : kind == 2 ? grey_of_percent(shade_level(s.pattern))
                                     : 0;
        // The rectangle is clipped to the logical page across, the page down.
        const std::int64_t left = std::max<std::int64_t>(s.x, 0);
        const std::int64_t right = std::min(s.x + s.rectangle_width, s.logical_width);
        const std::int64_t top = std::max<std::int64_t>(s.top_margin + s.y, 0);
        const std::int64_t bottom =
            std::min(s.top_margin + s.y + s.rectangle_height, s.page_length);
        if (right > left && bottom > top) {
            m_output.fill(
                PclFill{s.logical_left + left, top, right - left, bottom - top, grey, hatch});
            s.page_has_print = s.page_has_print || grey < kWhite;
        }
        break;
    }
    default:
        break; // fonts, characters, patterns of the job's own: read past
    }
    return true;
}

// ESC *t, ESC *r, ESC *b: raster graphics.
bool PclPrinter::apply_raster(const PclCommand& command) {
    if (command.parameterized != '*') {
        return false;
    }
    PclRaster& r = m_state.raster;
    const int value = static_cast<int>(std::clamp(command.value, -32767.0, 32767.0));
    if (command.group == 't' && command.terminator == 'R' && resolution_valid(value)) {
        r.resolution = value;
    } else if (command.group == 'r') {
        if (command.terminator == 'A') {
            start_raster(value == 1);
        } else if (command.terminator == 'B' || command.terminator == 'C') {
            if (r.on) {
                m_state.x = r.left;
            }
            r.on = false;
            r.compression = command.terminator == 'C' ? 0 : r.compression;
        } else if (command.terminator == 'S') {
            r.width = std::max(value, 0);
        }
    } else if (command.group == 'b') {
        if (command.terminator == 'M') {
            r.compression = value;
        } else if (command.terminator == 'Y') {
            if (!r.on) {
                start_raster(false);
            }
            move_y(m_state.y + std::max(value, 0) * (kPclUnitsPerInch / r.resolution));
            r.seed.clear();
        } else if (command.terminator == 'W') {
            if (!r.on) {
                start_raster(false);
            }
            r.data.clear();
        }
    }
    return true;
}

void PclPrinter::start_raster(bool at_cursor) {
    PclRaster& r = m_state.raster;
    r.on = true;
    r.left = at_cursor ? m_state.x : 0;
    r.seed.clear();
    r.data.clear();
}

// A row is as wide as the source width, else as the logical page right of
// the raster's left edge; it goes down by one dot.
void PclPrinter::raster_row() {
    PclRaster& r = m_state.raster;
    const std::int64_t dot = kPclUnitsPerInch / r.resolution;
    const std::int64_t room = std::max<std::int64_t>((m_state.logical_width - r.left) / dot, 0);
    const std::int64_t columns = r.width > 0 ? std::min<std::int64_t>(r.width, room) : room;
    const auto most_bytes = static_cast<std::size_t>((columns + 7) / 8);
    decode_pcl_row(r.compression, r.data, most_bytes, r.seed);
    r.data.clear();
    const std::int64_t top = m_state.top_margin + m_state.y;
    if (columns > 0 && top >= 0 && top + dot <= m_state.page_length) {
        PclRasterRow row{m_state.logical_left + r.left, top, dot,
                         BitImage(static_cast<int>(columns), 1)};
        // The dots past the row's width are not printed.
        std::int64_t rightmost = -1;
        for (std::size_t i = 0; i < r.seed.size(); ++i) {
            for (int bit = 0; bit < 8 && r.seed[i] != 0; ++bit) {
                const auto column = static_cast<std::int64_t>(i * 8) + bit;
                if ((r.seed[i] & (0x80 >> bit)) != 0 && column < columns) {
                    row.image.set(static_cast<int>(column), 0);
                    rightmost = column;
                }
            }
        }
        if (rightmost >= 0) {
            row.right = row.x + (rightmost + 1) * dot;
            m_output.raster_row(row);
            m_state.page_has_print = true;
        }
    }
    move_y(m_state.y + dot);
}

} // namespace kvalon
