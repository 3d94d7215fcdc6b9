#include "printing/print_char.h"

#include "engine/control_codes.h"
#include "engine/filter_text.h"
#include "engine/print_job.h"
#include "engine/printer_surface.h"
#include "printing/box_geometry.h"
#include "printing/code_pages.h"

#include <array>

namespace kvalon {

namespace {

constexpr int kStrokePixels = 4;
constexpr unsigned char kFirstWindowsLetter = 192;

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

// What the printer path makes of one code, through the line filter.
std::string text_for_code(unsigned char code) {
    const std::string filtered = filter_text(std::string(1, static_cast<char>(code)), "Printer");
    if (filtered.empty()) {
        return {};
    }
    const auto kept = static_cast<unsigned char>(filtered[0]);
    std::string text;
    if (code >= codes::FirstMikSymbol && kept == code) {
        // Symbols above the letters keep their MIK meaning; the no-break space
        // prints as a blank.
        const char32_t symbol = mik_to_unicode(code);
        append_utf8(text, symbol == 0x00A0 ? U' ' : symbol);
    } else if (kept >= kFirstWindowsLetter) {
        append_utf8(text, windows1251_to_unicode(kept));
    } else if (kept >= codes::FirstPrintable && kept != codes::Delete) {
        text.push_back(static_cast<char>(kept));
    }
    return text;
}

void draw_cell(PrinterSurface& surface, unsigned char code, float x, float y, float w, float h) {
    if (!is_drawn_symbol(code)) {
        if (const std::string& text = printed_text(code); !text.empty()) {
            surface.print(text, false);
        }
        return;
    }
    if (const auto box = box_strokes(code, w, h)) {
        draw_strokes(surface, *box, x, y);
    } else if (const auto fill = cell_fill(code, w, h)) {
        surface.fill_rect(x + fill->x, y + fill->y, fill->width, fill->height, fill->grey);
    } else if (const std::string& text = printed_text(code); !text.empty()) {
        surface.print(text, false);
    }
}

} // namespace

const std::string& printed_text(unsigned char code) {
    // Filtering every cell anew costs more than the drawing: the texts of all
    // codes are made once and again only when the bold marker changes.
    // The filter looks at the marker's first character only.
    static std::array<std::string, 256> table;
    static int table_marker = -2; // none built yet
    const std::string& marker = job().SkipChar;
    const int current = marker.empty() ? -1 : static_cast<unsigned char>(marker[0]);
    if (table_marker != current) {
        for (int c = 0; c < 256; ++c) {
            table[static_cast<std::size_t>(c)] = text_for_code(static_cast<unsigned char>(c));
        }
        table_marker = current;
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
        draw_cell(surface, code, x, y, w, h);
        surface.set_current_x(x + w);
        surface.set_current_y(y);
    }
}

void print_in_cell(unsigned char code, float x, float y, float w, float h) {
    PrinterSurface& surface = printer();
    surface.set_current_x(x);
    surface.set_current_y(y);
    draw_cell(surface, code, x, y, w, h);
    surface.set_current_x(x + w);
    surface.set_current_y(y);
}

void print_cells(unsigned char code, int cells) {
    const PrintJob& j = job();
    PrinterSurface& surface = printer();
    const float w = j.CharWidth * static_cast<float>(cells);
    const float x = surface.current_x();
    const float y = surface.current_y();
    draw_cell(surface, code, x, y, w, j.LineHeight);
    surface.set_current_x(x + w);
    surface.set_current_y(y);
}

} // namespace kvalon
