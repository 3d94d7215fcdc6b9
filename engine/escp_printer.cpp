#include "engine/escp_printer.h"

#include "engine/code_page.h"
#include "engine/control_codes.h"
#include "engine/escp_characters.h"

#include <algorithm>

namespace kvalon {

namespace {

constexpr unsigned char kHighBit = 0x80;
constexpr char32_t kNoBreakSpace = 0x00A0;
constexpr char32_t kUnassigned = 0xFFFD;
constexpr int kTabEvery = 8;

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

bool EscpGlyph::visible() const {
    return underline || (character > codes::FirstPrintable && character != codes::Delete &&
                         character != kNoBreakSpace && character != kUnassigned);
}

EscpPrinter::EscpPrinter(EscpOutput& output, const EscpState& start)
    : m_parser(*this), m_output(output), m_state(start) {}

void EscpPrinter::take(unsigned char byte) {
    if (!m_ended) {
        m_parser.take(byte);
    }
}

void EscpPrinter::take(std::string_view bytes) {
    for (const char c : bytes) {
        take(static_cast<unsigned char>(c));
    }
}

void EscpPrinter::finish() {
    m_parser.finish();
}

void EscpPrinter::on_text(unsigned char byte) {
    EscpAttributes& a = m_state.attributes;
    switch (byte) {
    case codes::BoldMarker:
        m_state.marker_bold = !m_state.marker_bold;
        break;
    case codes::Backspace:
        backspace();
        break;
    case codes::Tab:
        horizontal_tab();
        break;
    case codes::LineFeed:
        line_feed();
        break;
    case codes::VerticalTab:
        vertical_tab();
        break;
    case codes::FormFeed:
        form_feed();
        break;
    case codes::CarriageReturn:
        carriage_return();
        break;
    case codes::ShiftOut:
        a.wide_line = true;
        break;
    case codes::ShiftIn:
        a.condensed = true;
        break;
    case codes::DeviceControl2:
        a.condensed = false;
        break;
    case codes::DeviceControl4:
        a.wide_line = false;
        break;
    case codes::DosEndOfFile:
        m_ended = true;
        break;
    default:
        if (byte >= codes::FirstPrintable && byte != codes::Delete) {
            print_character(byte);
        }
        break;
    }
}

void EscpPrinter::print_character(unsigned char code) {
    if (m_state.high_bit == 0) {
        code = static_cast<unsigned char>(code & ~kHighBit);
    } else if (m_state.high_bit == 1) {
        code = static_cast<unsigned char>(code | kHighBit);
    }
    std::int64_t width = m_state.character_width();
    // A character that would pass the right margin goes to the next line,
    // which ends the one-line double width of SO.
    if (m_state.x + width > m_state.right_margin && m_state.x > m_state.left_margin) {
        line_feed();
        width = m_state.character_width();
    }
    const EscpAttributes& a = m_state.attributes;
    const EscpCharacter printed =
        escp_character(code, a.character_table, a.international, m_state.code_page);
    EscpGlyph glyph;
    glyph.code = code;
    glyph.character = printed.character;
    glyph.by_printer_table =
        printed.italic || printed.character != character_of(m_state.code_page, code);
    glyph.x = m_state.x;
    glyph.y = m_state.y;
    glyph.width = width;
    glyph.letter_width = m_state.letter_width();
    glyph.height = m_state.line_spacing > 0 ? m_state.line_spacing : kEscpSixthInch;
    glyph.bold = a.bold() || m_state.marker_bold;
    glyph.italic = a.italic || printed.italic;
    glyph.underline = a.underline;
    glyph.double_width = a.double_width();
    m_state.page_has_print = m_state.page_has_print || glyph.visible();
    m_output.glyph(glyph);
    m_state.x += width;
}

// CR returns the head; the bold marker and SO end with the line.
void EscpPrinter::carriage_return() {
    m_state.x = m_state.left_margin;
    m_state.marker_bold = false;
    m_state.attributes.wide_line = false;
}

void EscpPrinter::line_feed() {
    m_output.line_feed();
    carriage_return();
    feed(m_state.line_spacing);
}

void EscpPrinter::form_feed() {
    carriage_return();
    m_state.y = 0;
    end_page();
}

// Without vertical tabs VT feeds a line; past the last one it feeds the form.
void EscpPrinter::vertical_tab() {
    const std::vector<std::int64_t>& stops = m_state.vertical_tabs;
    if (stops.empty()) {
        line_feed();
        return;
    }
    const auto next = std::upper_bound(stops.begin(), stops.end(), m_state.y);
    if (next == stops.end() || *next >= m_state.form_length) {
        m_output.line_feed();
        form_feed();
        return;
    }
    m_output.line_feed();
    carriage_return();
    m_state.y = *next;
}

void EscpPrinter::horizontal_tab() {
    const std::int64_t left = m_state.left_margin;
    const std::int64_t from = m_state.x - left;
    std::int64_t stop = -1;
    if (m_state.tabs_set) {
        const auto next = std::upper_bound(m_state.tabs.begin(), m_state.tabs.end(), from);
        stop = next == m_state.tabs.end() ? -1 : *next;
    } else {
        const std::int64_t every = kTabEvery * m_state.column_width();
        stop = (from / every + 1) * every;
    }
    if (stop >= 0 && left + stop < m_state.right_margin) {
        m_state.x = left + stop;
    }
}

void EscpPrinter::backspace() {
    m_state.x = std::max(m_state.left_margin, m_state.x - m_state.character_width());
}

// Past the bottom the paper goes on to the next page: a page of continuous
// paper ends at the form's length, or where the skip over the perforation
// begins.
void EscpPrinter::feed(std::int64_t distance) {
    m_state.y = std::max<std::int64_t>(0, m_state.y + distance);
    const std::int64_t form = m_state.form_length;
    const std::int64_t skip = m_state.bottom_skip;
    if (skip > 0 && m_state.y >= form - skip) {
        m_state.y = 0;
        end_page();
    } else if (m_state.y >= form) {
        m_state.y %= form;
        end_page();
    }
}

// The page's end is told with the printer already at the next page's start.
void EscpPrinter::end_page() {
    const bool had_print = m_state.page_has_print;
    m_state.page_has_print = false;
    m_output.page_end(had_print);
}

// ESC C makes the current line the top of the form: what was printed above
// it stays on the page before.
void EscpPrinter::top_of_form_here() {
    m_state.y = 0;
    m_state.bottom_skip = 0;
    if (m_state.page_has_print) {
        end_page();
    }
}

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
    EscpState reset;
    reset.y = m_state.y;
    reset.code_page = m_state.code_page;
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
        if (n * column < m_state.right_margin) {
            m_state.left_margin = n * column;
            m_state.x = std::max(m_state.x, m_state.left_margin);
        }
        return true;
    case 'Q':
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
            m_state.form_length = form_length_of(word(0) * unit);
            feed(0); // a head below the new form's end is on the next page
        }
        break;
    case 'V':
        if (word(0) >= 0 && word(0) * unit < m_state.form_length) {
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

void EscpPrinter::on_graphics_start(const EscpCommand& command) {
    m_graphic.start(command, graphics_mode(command.code), m_state);
}

void EscpPrinter::on_graphics_byte(unsigned char byte) {
    m_graphic.add(byte);
}

void EscpPrinter::on_graphics_end() {
    const std::int64_t advance = m_graphic.advance();
    EscpDots dots = m_graphic.finish();
    if (dots.image.any_dot()) {
        m_state.page_has_print = true;
        m_output.dots(dots);
    }
    m_state.x = std::min(m_state.x + advance, m_state.right_margin);
}

unsigned EscpPrinter::graphics_mode(unsigned char command) const {
    const int index = assigned_index(command);
    return index >= 0 ? m_state.graphics_modes[static_cast<std::size_t>(index)] : 0;
}

} // namespace kvalon
