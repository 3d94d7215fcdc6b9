#include "engine/pcl/pcl_printer.h"

#include "engine/pcl/pcl_symbol_sets.h"

#include <algorithm>
#include <cctype>

namespace kvalon {

namespace {

constexpr unsigned char kBackspace = 0x08;
constexpr unsigned char kTab = 0x09;
constexpr unsigned char kLineFeed = 0x0A;
constexpr unsigned char kFormFeed = 0x0C;
constexpr unsigned char kReturn = 0x0D;
constexpr unsigned char kShiftOut = 0x0E;
constexpr unsigned char kShiftIn = 0x0F;
constexpr unsigned char kDelete = 0x7F;
// Of a PJL line, enough to find the language it enters.
constexpr std::size_t kPjlLineKept = 64;
// Tab stops stand every eight columns from the left margin.
constexpr std::int64_t kTabColumns = 8;
// The underline: three dots thick, five under the baseline.
constexpr std::int64_t kUnderlineDepth = 5 * kPclUnitsPerDot;
constexpr std::int64_t kUnderlineThickness = 3 * kPclUnitsPerDot;

} // namespace

bool PclGlyph::visible() const {
    const char32_t c = by_symbol_set ? character : code;
    return c > U' ' && c != kDelete && c != U'\uFFFD' && !(c >= 0x80 && c < 0xA0 && by_symbol_set);
}

PclPrinter::PclPrinter(PclOutput& output, const PclState& start)
    : m_output(output), m_state(start) {
    if (m_state.page_length == 0) {
        m_state = PclState::reset(start.code_page);
    }
}

void PclPrinter::take(std::string_view bytes) {
    for (const char byte : bytes) {
        take(static_cast<unsigned char>(byte));
    }
}

void PclPrinter::finish() {
    m_state.parser.finish(*this);
}

void PclPrinter::on_text(unsigned char byte) {
    if (m_state.in_other || m_state.in_hpgl || m_state.macros.defining) {
        return;
    }
    if (m_state.in_pjl) {
        take_pjl(byte);
        return;
    }
    const int mode = m_state.line_termination;
    switch (byte) {
    case kReturn:
        carriage_return();
        if (mode == 1 || mode == 3) {
            line_feed();
        }
        return;
    case kLineFeed:
        if (mode >= 2) {
            carriage_return();
        }
        line_feed();
        return;
    case kFormFeed:
        if (mode >= 2) {
            carriage_return();
        }
        form_feed();
        return;
    case kBackspace:
        backspace();
        return;
    case kTab:
        horizontal_tab();
        return;
    case kShiftIn:
    case kShiftOut:
        m_state.secondary = byte == kShiftOut;
        fonts_changed();
        return;
    default:
        break;
    }
    if (byte >= ' ' && byte != kDelete) {
        print_character(byte);
    }
}

// PJL lines are read until one enters a language: PCL goes on, any other
// is read past until the next universal exit.
void PclPrinter::take_pjl(unsigned char byte) {
    if (byte != kLineFeed) {
        if (m_state.pjl_line.size() < kPjlLineKept) {
            m_state.pjl_line.push_back(static_cast<char>(std::toupper(byte)));
        }
        return;
    }
    const std::string& line = m_state.pjl_line;
    const std::size_t enter = line.find("ENTER");
    if (enter != std::string::npos && line.find("LANGUAGE", enter) != std::string::npos) {
        m_state.in_pjl = false;
        m_state.in_other = line.find("PCL", enter) == std::string::npos;
    }
    m_state.pjl_line.clear();
}

void PclPrinter::print_character(unsigned char code) {
    const PclFont& font = m_state.font();
    const std::int64_t advance = m_state.hmi;
    const std::int64_t width = font.advance();
    if (m_state.wrap && m_state.x + advance > m_state.right_margin &&
        m_state.x > m_state.left_margin) {
        carriage_return();
        line_feed();
    }
    PclGlyph glyph;
    glyph.code = code;
    glyph.by_symbol_set = font.symbol_set != kReportSymbolSet;
    glyph.character = glyph.by_symbol_set ? pcl_character(font.symbol_set, code) : code;
    glyph.x = m_state.logical_left + m_state.x;
    glyph.baseline = m_state.top_margin + m_state.y;
    glyph.width = width;
    glyph.line = m_state.vmi > 0 ? m_state.vmi : kPclSixthInch;
    glyph.points = font.height;
    glyph.bold = font.weight > 0;
    glyph.italic = (font.style & 1) != 0;
    const bool inside = m_state.x >= 0 && m_state.x + width <= m_state.logical_width &&
                        glyph.baseline >= 0 && glyph.baseline <= m_state.page_length;
    if (inside) {
        m_output.glyph(glyph);
        m_state.page_has_print = m_state.page_has_print || glyph.visible();
        underline(glyph, advance);
    }
    move_x(m_state.x + advance);
}

// The line runs under the letter's whole place, as far as the page goes.
void PclPrinter::underline(const PclGlyph& glyph, std::int64_t advance) {
    const std::int64_t top = glyph.baseline + kUnderlineDepth;
    const std::int64_t length =
        std::min(advance, m_state.logical_left + m_state.logical_width - glyph.x);
    if (m_state.underline && length > 0 && top + kUnderlineThickness <= m_state.page_length) {
        m_output.fill(PclFill{glyph.x, top, length, kUnderlineThickness, 0});
        m_state.page_has_print = true;
    }
}

void PclPrinter::carriage_return() {
    m_state.x = m_state.left_margin;
}

// Past the text length (with perforation skip) or past the page's bottom,
// a line feed ejects the page and goes on at the next one's first line.
void PclPrinter::line_feed() {
    m_output.line_feed();
    const std::int64_t next = m_state.y + m_state.vmi;
    const std::int64_t bottom =
        m_state.perforation_skip ? m_state.text_length : m_state.page_length - m_state.top_margin;
    if (next > bottom) {
        // The next page begins where the printer stands as this one ends.
        m_state.y = m_state.first_line();
        end_page();
        return;
    }
    m_state.y = next;
}

void PclPrinter::form_feed() {
    m_state.y = m_state.first_line();
    end_page();
}

void PclPrinter::horizontal_tab() {
    const std::int64_t stop = kTabColumns * std::max<std::int64_t>(m_state.hmi, 1);
    const std::int64_t from_margin = std::max<std::int64_t>(m_state.x - m_state.left_margin, 0);
    move_x(m_state.left_margin + (from_margin / stop + 1) * stop);
}

void PclPrinter::backspace() {
    move_x(std::max(m_state.x - m_state.hmi, m_state.left_margin));
}

// A page that ends inside a macro is ejected once the macro is done, so
// that every page ends between two bytes of the job; the overlay cannot end
// its page.
void PclPrinter::end_page() {
    PclMacros& m = m_state.macros;
    if (m.overlay_running) {
        return;
    }
    if (m.depth > 0) {
        m.eject_after = true;
        return;
    }
    if (m_state.page_has_print) {
        run_overlay();
    }
    m_state.raster.on = false;
    const bool had_print = m_state.page_has_print;
    m_state.page_has_print = false;
    m_output.page_end(had_print, m_state);
}

void PclPrinter::reset() {
    if (m_state.page_has_print) {
        end_page();
    }
    PclParser parser = m_state.parser;
    PclMacros macros = std::move(m_state.macros);
    m_state = PclState::reset(m_state.code_page);
    m_state.parser = parser;
    macros.reset();
    m_state.macros = std::move(macros);
}

void PclPrinter::exit_to_pjl() {
    reset();
    m_state.in_pjl = true;
}

void PclPrinter::fonts_changed() {
    m_state.hmi = m_state.font().advance();
}

void PclPrinter::move_x(std::int64_t x) {
    m_state.x = std::clamp<std::int64_t>(x, 0, m_state.logical_width);
}

void PclPrinter::move_y(std::int64_t y) {
    m_state.y =
        std::clamp<std::int64_t>(y, -m_state.top_margin, m_state.page_length - m_state.top_margin);
}

void PclPrinter::on_command(const PclCommand& command) {
    const bool ends_job = command.is('%', 0, 'X') || command.is(0, 0, 'E');
    if (m_state.macros.defining) {
        // A reset or the end of the language ends a definition the job left open.
        if (ends_job || (command.is('&', 'f', 'X') && command.value == 1)) {
            end_definition();
        }
        if (!ends_job) {
            return;
        }
    }
    if (ends_job && m_state.macros.depth > 0) {
        return; // a macro cannot reset the printer it runs in
    }
    if (command.is('%', 0, 'X')) {
        exit_to_pjl();
        return;
    }
    if (m_state.in_other) {
        return;
    }
    m_state.in_pjl = false;
    if (m_state.in_hpgl) {
        if (command.is('%', 0, 'A')) {
            m_state.in_hpgl = false;
        } else if (command.is(0, 0, 'E')) {
            reset();
        }
        return;
    }
    if (apply_job(command) || apply_page(command) || apply_macro(command) ||
        apply_cursor(command) || apply_font(command) || apply_rectangle(command)) {
        return;
    }
    apply_raster(command);
}

void PclPrinter::on_data(const PclCommand& command, unsigned char byte) {
    if (m_state.in_other || m_state.in_hpgl || m_state.macros.defining) {
        return;
    }
    if (command.is('&', 'p', 'X')) {
        print_character(byte);
    } else if (command.is('*', 'b', 'W') && m_state.raster.data.size() < PclParser::kMostData) {
        m_state.raster.data.push_back(byte);
    }
}

void PclPrinter::on_data_end(const PclCommand& command) {
    if (!m_state.in_other && !m_state.in_hpgl && !m_state.macros.defining &&
        command.is('*', 'b', 'W')) {
        raster_row();
    }
}

} // namespace kvalon
