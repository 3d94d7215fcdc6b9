#include "engine/escp/escp_printer.h"

#include "engine/control_codes.h"
#include "engine/escp/escp_characters.h"

#include <algorithm>

// The printer's answer to each ESC sequence: attributes, pitches, line
// spacing, the form and its margins, moves and the extended commands.
namespace kvalon {

namespace {

// Units of the commands, in 1/3600 inch.
constexpr std::int64_t kInch = kEscpUnitsPerInch;
constexpr std::int64_t kSixtieth = kInch / 60;
constexpr std::int64_t kOneEightieth = kInch / 180;
constexpr std::int64_t kThreeSixtieth = kInch / 360;
constexpr std::int64_t kEighthInch = kInch / 8;
constexpr std::int64_t kSevenSeventySeconds = kInch * 7 / 72;
constexpr std::int64_t kLongestPageInches = kEscpLongestForm / kInch;
// A form shorter than a line is no form; it would end a page at every feed.
constexpr std::int64_t kShortestForm = kEscpSixthInch;

// "1" and "0" switch on and off as the bytes 1 and 0 do; other values
// leave the attribute as it is, as the printer does.
void switch_by(bool& attribute, unsigned n) {
    if (n == 1 || n == '1') {
        attribute = true;
    } else if (n == 0 || n == '0') {
        attribute = false;
    }
}

// ESC ! sets every mode it has a bit for at once.
void master_select(EscpAttributes& a, unsigned n) {
    a.pitch = (n & 0x01) != 0 ? 12 : 10;
    a.condensed = (n & 0x04) != 0;
    a.emphasized = (n & 0x08) != 0;
    a.double_strike = (n & 0x10) != 0;
    a.wide = (n & 0x20) != 0;
    a.italic = (n & 0x40) != 0;
    a.underline = (n & 0x80) != 0;
}

std::int64_t signed_word(unsigned word) {
    return word >= 0x8000 ? static_cast<std::int64_t>(word) - 0x10000 : word;
}

// ESC K, L, Y and Z print in the densities ESC ? gives them, by this index.
int assigned_index(unsigned command) {
    switch (command) {
    case 'K':
        return 0;
    case 'L':
        return 1;
    case 'Y':
        return 2;
    case 'Z':
        return 3;
    default:
        return -1;
    }
}

std::int64_t form_length_of(std::int64_t length) {
    return std::clamp(length, kShortestForm, kEscpLongestForm);
}

} // namespace

void EscpPrinter::on_command(const EscpCommand& command) {
    if (command.code == '@') {
        apply_reset();
    } else if (command.code == '(') {
        apply_extended(command);
    } else if (!apply_attribute(command) && !apply_pitch(command) && !apply_vertical(command) &&
               !apply_page(command)) {
        apply_horizontal(command);
    }
}

// ESC @ brings back the settings the printer starts with; the paper stays
// where it is.
void EscpPrinter::apply_reset() {
    print_line();
    EscpState reset;
    reset.printer_form_length = m_state.printer_form_length;
    reset.form_length = m_state.printer_form_length;
    reset.y = m_state.y;
    reset.code_page = m_state.code_page;
    reset.whole_pages = m_state.whole_pages;
    reset.page_has_print = m_state.page_has_print;
    m_state = reset;
    feed(0); // a head below the form's end is on the next page
}

bool EscpPrinter::apply_attribute(const EscpCommand& command) {
    EscpAttributes& a = m_state.attributes;
    const unsigned n = command.parameter(0);
    switch (command.code) {
    case 'E':
    case 'F':
        a.emphasized = command.code == 'E';
        return true;
    case 'G':
    case 'H':
        a.double_strike = command.code == 'G';
        return true;
    case '4':
    case '5':
        a.italic = command.code == '4';
        return true;
    case '-':
        switch_by(a.underline, n);
        return true;
    case 'W':
        switch_by(a.wide, n);
        return true;
    case codes::ShiftOut:
        a.wide_line = true;
        return true;
    case codes::ShiftIn:
        a.condensed = true;
        return true;
    case '=':
    case '>':
    case '#':
        m_state.high_bit = command.code == '=' ? 0 : (command.code == '>' ? 1 : -1);
        return true;
    case 't':
        a.character_table = escp_character_table(static_cast<unsigned char>(n), a.character_table);
        return true;
    case 'R':
        a.international = escp_international_set(static_cast<unsigned char>(n), a.international);
        return true;
    default:
        return false;
    }
}

bool EscpPrinter::apply_pitch(const EscpCommand& command) {
    EscpAttributes& a = m_state.attributes;
    const unsigned n = command.parameter(0);
    switch (command.code) {
    case 'P':
    case 'M':
    case 'g':
        a.pitch = command.code == 'P' ? 10 : (command.code == 'M' ? 12 : 15);
        m_state.fixed_width = 0;
        return true;
    case '!':
        master_select(a, n);
        m_state.fixed_width = 0;
        return true;
    case ' ':
        m_state.extra_space = n * kOneEightieth;
        return true;
    case 'c':
        m_state.fixed_width = command.word_at(0) * kThreeSixtieth;
        return true;
    default:
        return false;
    }
}

bool EscpPrinter::apply_vertical(const EscpCommand& command) {
    const unsigned n = command.parameter(0);
    switch (command.code) {
    case '0':
        m_state.line_spacing = kEighthInch;
        return true;
    case '1':
        m_state.line_spacing = kSevenSeventySeconds;
        return true;
    case '2':
        m_state.line_spacing = kEscpSixthInch;
        return true;
    case '3':
        m_state.line_spacing = n * kOneEightieth;
        return true;
    case 'A':
        m_state.line_spacing = n * kSixtieth;
        return true;
    case '+':
        m_state.line_spacing = n * kThreeSixtieth;
        return true;
    case 'J':
        feed(n * kOneEightieth);
        return true;
    case 'j':
        print_line();
        m_state.y = std::max<std::int64_t>(0, m_state.y - n * kOneEightieth);
        return true;
    case 'f':
        if (n == 1 || n == '1') {
            for (unsigned line = 0; line < command.parameter(1); ++line) {
                line_feed();
            }
            return true;
        }
        move_to(m_state.x + command.parameter(1) * m_state.character_width());
        return true;
    default:
        return false;
    }
}

bool EscpPrinter::apply_page(const EscpCommand& command) {
    const unsigned n = command.parameter(0);
    switch (command.code) {
    case 'C':
        // What the line holds prints on the form it was placed on.
        print_line();
        if (command.count == 2 && command.parameter(1) >= 1 &&
            command.parameter(1) <= kLongestPageInches) {
            m_state.form_length = command.parameter(1) * kInch;
            top_of_form_here();
        } else if (command.count == 1 && m_state.line_spacing > 0) {
            m_state.form_length = form_length_of(n * m_state.line_spacing);
            top_of_form_here();
        }
        return true;
    case 'N':
        if (n > 0 && n * m_state.line_spacing < m_state.form_length) {
            m_state.bottom_skip = n * m_state.line_spacing;
        }
        return true;
    case 'O':
        m_state.bottom_skip = 0;
        return true;
    case 'B':
        m_state.vertical_tabs.clear();
        for (const unsigned char stop : command.list) {
            m_state.vertical_tabs.push_back(stop * m_state.line_spacing);
        }
        return true;
    default:
        return false;
    }
}

// Moves the head within the margins; a place outside them is not taken.
void EscpPrinter::move_to(std::int64_t x) {
    if (x >= m_state.left_margin && x <= m_state.right_margin) {
        m_state.x = x;
    }
}

bool EscpPrinter::apply_horizontal(const EscpCommand& command) {
    const unsigned n = command.parameter(0);
    const std::int64_t column = m_state.column_width();
    switch (command.code) {
    case 'l':
        // The printer starts the line afresh at the new margin, to the left
        // of the old one too: a block indented by a margin ends with it. What
        // the line held so far is dropped unprinted.
        if (n * column < m_state.right_margin) {
            m_line.drop();
            m_state.left_margin = n * column;
            m_state.x = m_state.left_margin;
        }
        return true;
    case 'Q':
        // The line so far prints within the margin it was placed in.
        print_line();
        if (n * column > m_state.left_margin) {
            m_state.right_margin = std::min(n * column, kEscpCarriageWidth);
        }
        return true;
    case '$':
        move_to(m_state.left_margin +
                command.word_at(0) * (m_state.unit_defined ? m_state.defined_unit : kSixtieth));
        return true;
    case '\\':
        move_to(m_state.x + signed_word(command.word_at(0)) *
                                (m_state.unit_defined ? m_state.defined_unit : kOneEightieth));
        return true;
    case 'D':
        m_state.tabs_set = true;
        m_state.tabs.clear();
        for (const unsigned char stop : command.list) {
            m_state.tabs.push_back(stop * column);
        }
        return true;
    case '?':
        if (const int index = assigned_index(n); index >= 0) {
            m_state.graphics_modes[static_cast<std::size_t>(index)] =
                static_cast<unsigned char>(command.parameter(1));
        }
        return true;
    default:
        // Fonts, character tables, paper handling and the like leave the
        // page's layout as it is.
        return false;
    }
}

// ESC ( c nL nH data: ESC/P 2's commands with their data counted.
void EscpPrinter::apply_extended(const EscpCommand& command) {
    const std::vector<unsigned char>& data = command.list;
    const auto word = [&data](std::size_t at) -> std::int64_t {
        return at + 1 < data.size() ? data[at] + 256 * data[at + 1] : -1;
    };
    const std::int64_t unit = m_state.defined_unit;
    switch (command.parameter(0)) {
    case 'U':
        if (!data.empty() && data[0] > 0) {
            m_state.defined_unit = data[0];
            m_state.unit_defined = true;
        }
        break;
    case 'C':
        if (word(0) > 0 && word(0) * unit <= kEscpLongestForm) {
            print_line();
            m_state.form_length = form_length_of(word(0) * unit);
            feed(0); // a head below the new form's end is on the next page
        }
        break;
    case 'V':
        if (word(0) >= 0 && word(0) * unit < m_state.form_length) {
            print_line();
            m_state.y = word(0) * unit;
        }
        break;
    case 'v':
        if (word(0) >= 0) {
            feed(signed_word(static_cast<unsigned>(word(0))) * unit);
        }
        break;
    default:
        break;
    }
}

unsigned EscpPrinter::graphics_mode(unsigned char command) const {
    const int index = assigned_index(command);
    return index >= 0 ? m_state.graphics_modes[static_cast<std::size_t>(index)] : 0;
}

} // namespace kvalon
