#include "printing/print_char.h"

#include "engine/code_page.h"
#include "engine/control_codes.h"
#include "engine/filter_text.h"
#include "engine/print_job.h"
#include "engine/printer_surface.h"
#include "engine/utf8.h"
#include "printing/box_geometry.h"

#include <array>

namespace kvalon {

namespace {

constexpr int kStrokePixels = 4;
constexpr char32_t kNoBreakSpace = 0x00A0;
constexpr char32_t kUnassigned = 0xFFFD;

// Frames are drawn with a pen of their own; the surface's pen is as it was
// afterwards.
void draw_strokes(PrinterSurface& surface, const BoxStrokes& box, float x, float y) {
    const int saved_width = surface.draw_width();
    surface.set_draw_width(kStrokePixels);
    for (int i = 0; i < box.count; ++i) {
        const Segment& s = box.segments[static_cast<std::size_t>(i)];
        surface.line(x + s.x1, y + s.y1, x + s.x2, y + s.y2);
    }
    surface.set_draw_width(saved_width);
}

// The text a character prints as: nothing for control codes and bytes the
// code page leaves unassigned, a blank for the no-break space.
std::string text_of(char32_t character) {
    std::string text;
    if (character < codes::FirstPrintable || character == codes::Delete ||
        character == kUnassigned) {
        return text;
    }
    append_utf8(text, character == kNoBreakSpace ? U' ' : character);
    return text;
}

// What the printer path makes of one code, through the line filter.
CellContent content_for_code(unsigned char code) {
    const std::string filtered = filter_text(std::string(1, static_cast<char>(code)), "Printer");
    CellContent content;
    content.character = character_of(job().CodePage, code);
    if (filtered.empty()) {
        return content;
    }
    content.drawn = is_drawn_symbol(content.character);
    // The filter writes MIK's numero sign as a letter of its own.
    content.text = filtered == "N" && code != 'N' ? filtered : text_of(content.character);
    return content;
}

void draw_cell(PrinterSurface& surface, const CellContent& content, float x, float y, float w,
               float h) {
    if (!content.drawn) {
        if (!content.text.empty()) {
            surface.print(content.text, false);
        }
        return;
    }
    if (const auto box = box_strokes(content.character, w, h)) {
        draw_strokes(surface, *box, x, y);
    } else if (const auto fill = cell_fill(content.character, w, h)) {
        surface.fill_rect(x + fill->x, y + fill->y, fill->width, fill->height, fill->grey);
    } else if (!content.text.empty()) {
        surface.print(content.text, false);
    }
}

} // namespace

const CellContent& cell_content(unsigned char code) {
    // Filtering every cell anew costs more than the drawing: the contents of
    // all codes are made once and again only when the bold marker or the
    // code page changes. The filter looks at the marker's first character
    // only.
    static std::array<CellContent, 256> table;
    static int table_marker = -2; // none built yet
    static CodePageId table_page = CodePageId::Mik;
    const PrintJob& j = job();
    const int marker = j.SkipChar.empty() ? -1 : static_cast<unsigned char>(j.SkipChar[0]);
    if (table_marker != marker || table_page != j.CodePage) {
        for (int c = 0; c < 256; ++c) {
            table[static_cast<std::size_t>(c)] = content_for_code(static_cast<unsigned char>(c));
        }
        table_marker = marker;
        table_page = j.CodePage;
    }
    return table[code];
}

void print_char(const std::string& c) {
    const PrintJob& j = job();
    PrinterSurface& surface = printer();
    const float w = j.CharWidth;
    const float h = j.LineHeight;
    const float x = surface.current_x();
    const float y = surface.current_y();
    const auto code = static_cast<unsigned char>(c.empty() ? 0 : c[0]);
    if (code == codes::LineFeed) {
        surface.set_current_x(x);
        surface.set_current_y(y);
        surface.print("", true);
    } else if (code != codes::CarriageReturn) {
        draw_cell(surface, cell_content(code), x, y, w, h);
        surface.set_current_x(x + w);
        surface.set_current_y(y);
    }
}

void print_in_cell(const CellContent& content, float x, float y, float w, float h) {
    PrinterSurface& surface = printer();
    surface.set_current_x(x);
    surface.set_current_y(y);
    draw_cell(surface, content, x, y, w, h);
    surface.set_current_x(x + w);
    surface.set_current_y(y);
}

CellContent character_content(char32_t character) {
    CellContent content;
    content.character = character;
    content.drawn = is_drawn_symbol(character);
    content.text = text_of(character);
    return content;
}

} // namespace kvalon
