#include "engine/pcl/pcl_printer.h"

#include "engine/pcl/pcl_symbol_sets.h"

#include <algorithm>
#include <cmath>

namespace kvalon {

namespace {

// Positions and pushes are kept as a LaserJet keeps them.
constexpr std::size_t kMostPushed = 20;
constexpr double kLargestValue = 32767;

std::int64_t units(double value, double units_per) {
    return std::llround(std::clamp(value, -kLargestValue, kLargestValue) * units_per);
}

int whole(double value) {
    return static_cast<int>(std::clamp(value, -kLargestValue, kLargestValue));
}

// A move to `value` of `per` units, or by it when given with a sign.
std::int64_t moved(const PclCommand& command, std::int64_t from, double per) {
    const std::int64_t distance = units(command.value, per);
    return command.has_sign ? from + distance : distance;
}

bool lines_per_inch_valid(double lpi) {
    for (const double valid : {1.0, 2.0, 3.0, 4.0, 6.0, 8.0, 12.0, 16.0, 24.0, 48.0}) {
        if (lpi == valid) {
            return true;
        }
    }
    return false;
}

} // namespace

// Reset, the end of a language, display functions, half line feeds.
bool PclPrinter::apply_job(const PclCommand& command) {
    if (command.parameterized == 0) {
        switch (command.terminator) {
        case 'E':
            reset();
            break;
        case '9':
            m_state.left_margin = 0;
            m_state.right_margin = m_state.logical_width;
            break;
        case '=':
            move_y(m_state.y + m_state.vmi / 2);
            break;
        default:
            break; // display functions, self test: nothing on paper
        }
        return true;
    }
    if (command.parameterized == '%') {
        // HP-GL/2 is read past until PCL is entered again.
        m_state.in_hpgl = command.terminator == 'B';
        return true;
    }
    return false;
}

// ESC &l: the page, its orientation, margins, text length and motion.
bool PclPrinter::apply_page(const PclCommand& command) {
    if (command.parameterized != '&' || command.group != 'l') {
        return false;
    }
    const double value = command.value;
    switch (command.terminator) {
    case 'A':
    case 'O':
    case 'H': {
        const int size = command.terminator == 'A' ? whole(value) : m_state.page_size;
        const bool turn = command.terminator == 'O' ? (whole(value) & 1) != 0 : m_state.landscape;
        if (command.terminator == 'A' && pcl_page_size(size) == nullptr) {
            break;
        }
        if (command.terminator == 'O' && (value < 0 || value > 3)) {
            break;
        }
        // A new paper source, size or orientation ejects the page.
        if (m_state.page_has_print) {
            end_page();
        }
        if (command.terminator != 'H') {
            m_state.set_page(size, turn);
        }
        break;
    }
    case 'E':
        if (value >= 0) {
            m_state.top_margin =
                std::min(units(value, static_cast<double>(m_state.vmi)), m_state.page_length);
            m_state.default_text_length();
        }
        break;
    case 'F':
        if (value >= 0) {
            m_state.text_length = units(value, static_cast<double>(m_state.vmi));
        }
        break;
    case 'L':
        m_state.perforation_skip = whole(value) != 0;
        break;
    case 'C':
        if (value >= 0) {
            m_state.vmi = units(value, kPclUnitsPerInch / 48.0);
        }
        break;
    case 'D':
        if (lines_per_inch_valid(value)) {
            m_state.vmi = units(1 / value, kPclUnitsPerInch);
        }
        break;
    default:
        break; // copies, page length, media type: the sheet is the plan's
    }
    return true;
}

// ESC &a, ESC *p, ESC &k, ESC &s, ESC &f: the cursor and its motion.
bool PclPrinter::apply_cursor(const PclCommand& command) {
    const char p = command.parameterized;
    const char g = command.group;
    const char t = command.terminator;
    PclState& s = m_state;
    if (p == '&' && g == 'a') {
        if (t == 'R') {
            move_y(moved(command, s.y - s.first_line(), static_cast<double>(s.vmi)) +
                   s.first_line());
        } else if (t == 'C') {
            move_x(moved(command, s.x, static_cast<double>(s.hmi)));
        } else if (t == 'H') {
            move_x(moved(command, s.x, kPclUnitsPerDecipoint));
        } else if (t == 'V') {
            move_y(moved(command, s.y, kPclUnitsPerDecipoint));
        } else if (t == 'L' && command.value >= 0) {
            s.left_margin =
                std::min(units(command.value, static_cast<double>(s.hmi)), s.right_margin);
            s.x = std::max(s.x, s.left_margin);
        } else if (t == 'M' && command.value >= 0) {
            s.right_margin = std::clamp(units(command.value + 1, static_cast<double>(s.hmi)),
                                        s.left_margin, s.logical_width);
        }
        return true;
    }
    if (p == '*' && g == 'p') {
        if (t == 'X') {
            move_x(moved(command, s.x, static_cast<double>(s.pcl_unit)));
        } else if (t == 'Y') {
            move_y(moved(command, s.y, static_cast<double>(s.pcl_unit)));
        }
        return true;
    }
    if (p == '&' && g == 'u') {
        const int per_inch = whole(command.value);
        if (t == 'D' && per_inch > 0 && kPclUnitsPerInch % per_inch == 0) {
            s.pcl_unit = kPclUnitsPerInch / per_inch;
        }
        return true;
    }
    if (p == '&' && g == 'k') {
        if (t == 'H' && command.value >= 0) {
            s.hmi = units(command.value, kPclUnitsPerInch / 120.0);
        } else if (t == 'G') {
            s.line_termination = std::clamp(whole(command.value), 0, 3);
        } else if (t == 'S') {
            const int mode = whole(command.value);
            s.fonts[0].pitch = mode == 2 ? 16.67 : mode == 4 ? 12 : 10;
            s.fonts[0].proportional = false;
            fonts_changed();
        }
        return true;
    }
    if (p == '&' && g == 's') {
        s.wrap = t == 'C' && whole(command.value) == 0 ? true : t == 'C' ? false : s.wrap;
        return true;
    }
    if (p == '&' && g == 'f') {
        if (t == 'S' && whole(command.value) == 0 && s.pushed.size() < kMostPushed) {
            s.pushed.push_back(PclPosition{s.x, s.y});
        } else if (t == 'S' && whole(command.value) == 1 && !s.pushed.empty()) {
            move_x(s.pushed.back().x);
            move_y(s.pushed.back().y);
            s.pushed.pop_back();
        }
        return true;
    }
    if (p == '&' && g == 'd') {
        s.underline = t == 'D';
        return true;
    }
    return false;
}

// ESC ( and ESC ): symbol sets and font characteristics of the primary and
// the secondary font.
bool PclPrinter::apply_font(const PclCommand& command) {
    if (command.parameterized != '(' && command.parameterized != ')') {
        return false;
    }
    PclFont& font = m_state.fonts[command.parameterized == '(' ? 0 : 1];
    const double value = command.value;
    if (command.group == 0) {
        if (command.terminator == '@' && whole(value) == 3) {
            font = PclFont{};
        } else if (command.terminator != '@' && command.terminator != 'X') {
            font.symbol_set = pcl_symbol_set(value, command.terminator);
        }
    } else if (command.group == 's') {
        switch (command.terminator) {
        case 'P':
            font.proportional = whole(value) == 1;
            break;
        case 'H':
            if (value > 0) {
                font.pitch = value;
            }
            break;
        case 'V':
            if (value > 0) {
                font.height = std::min(value, 999.75);
            }
            break;
        case 'S':
            font.style = whole(value);
            break;
        case 'B':
            font.weight = whole(value);
            break;
        default:
            break; // typeface, quality, font data: one face prints them all
        }
    }
    fonts_changed();
    return true;
}

} // namespace kvalon
