#include "engine/escp/escp_printer.h"

#include "engine/code_page.h"
#include "engine/control_codes.h"
#include "engine/escp/escp_characters.h"

#include <algorithm>
#include <utility>

namespace kvalon {

namespace {

constexpr unsigned char kHighBit = 0x80;
constexpr char32_t kNoBreakSpace = 0x00A0;
constexpr char32_t kUnassigned = 0xFFFD;
constexpr int kTabEvery = 8;

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
    print_line();
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
    hold(glyph);
    m_state.x += width;
}

void EscpPrinter::hold(const EscpGlyph& glyph) {
    m_line.hold(glyph);
    if (m_line.full()) {
        print_line();
    }
}

void EscpPrinter::print_line() {
    if (!m_line.empty()) {
        m_state.page_has_print = m_line.print_to(m_output) || m_state.page_has_print;
    }
}

// CR returns the head; the bold marker and SO end with the line.
void EscpPrinter::carriage_return() {
    print_line();
    m_state.x = m_state.left_margin;
    m_state.marker_bold = false;
    m_state.attributes.wide_line = false;
}

void EscpPrinter::line_feed() {
    print_line();
    m_output.line_feed();
    carriage_return();
    feed(m_state.line_spacing);
}

void EscpPrinter::form_feed() {
    carriage_return();
    m_state.y = 0;
    m_output.form_feed();
    end_page();
}

// Without vertical tabs VT feeds a line; past the last one it feeds the form.
void EscpPrinter::vertical_tab() {
    print_line();
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
// begins. A whole page runs on until the report ends it.
void EscpPrinter::feed(std::int64_t distance) {
    print_line();
    m_state.y = std::max<std::int64_t>(0, m_state.y + distance);
    if (m_state.whole_pages) {
        return;
    }
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
    print_line();
    const bool had_print = m_state.page_has_print;
    m_state.page_has_print = false;
    m_output.page_end(had_print);
}

// ESC C makes the current line the top of the form: what was printed above
// it stays on the page before.
void EscpPrinter::top_of_form_here() {
    print_line();
    m_state.y = 0;
    m_state.bottom_skip = 0;
    if (m_state.page_has_print) {
        end_page();
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
        m_line.hold(std::move(dots));
        if (m_line.full()) {
            print_line();
        }
    }
    m_state.x = std::min(m_state.x + advance, m_state.right_margin);
}

} // namespace kvalon
