#include "printing/escp_print.h"

#include "engine/escp_characters.h"
#include "engine/escp_reader.h"
#include "printing/print_char.h"

#include <string>

namespace kvalon {

namespace {

constexpr int kUnderlinePixels = 4;
// Below the baseline and clear of the line below, as a fraction of the line.
constexpr float kUnderlineDepth = 0.85f;
constexpr char kCarriageReturn = '\r';
constexpr char kLineFeed = '\n';

void plain_style(PrinterSurface& surface) {
    surface.set_font_bold(false);
    surface.set_font_italic(false);
    surface.set_font_width_scale(1);
}

void underline(PrinterSurface& surface, float x, float y, float width, float height) {
    const int saved_width = surface.draw_width();
    surface.set_draw_width(kUnderlinePixels);
    const float depth = y + height * kUnderlineDepth;
    surface.line(x, depth, x + width, depth);
    surface.set_current_x(x + width);
    surface.set_current_y(y);
    surface.set_draw_width(saved_width);
}

class EscpPagePrinter {
public:
    EscpPagePrinter(const PrintJob& j, PrinterSurface& surface)
        : m_job(j), m_surface(surface), m_reader(j.EscpPageStart) {}

    void take(char c) {
        if (m_indent_left > 0 && c == ' ') {
            --m_indent_left;
            plain_style(m_surface);
            print_cells(static_cast<unsigned char>(c), 1);
            return;
        }
        const bool line_starts = c == kLineFeed && m_previous == kCarriageReturn;
        m_previous = c;
        m_indent_left = 0;
        switch (m_reader.take(static_cast<unsigned char>(c))) {
        case EscpByte::Cell:
            print_cell(static_cast<unsigned char>(c));
            break;
        case EscpByte::Marker:
            m_marker_bold = !m_marker_bold;
            break;
        case EscpByte::LineEnd:
            m_marker_bold = false;
            plain_style(m_surface);
            print_char(std::string(1, c));
            m_indent_left = line_starts ? m_job.LeftIndent : 0;
            break;
        case EscpByte::Sequence:
        case EscpByte::Control:
        case EscpByte::FormFeed:
            break;
        }
    }

private:
    void print_cell(unsigned char code) {
        const EscpAttributes& a = m_reader.attributes();
        const EscpCharacter printed =
            escp_character(code, a.character_table, a.international, m_job.CodePage);
        m_surface.set_font_bold(m_marker_bold || a.bold());
        m_surface.set_font_italic(a.italic || printed.italic);
        m_surface.set_font_width_scale(a.width());
        const float x = m_surface.current_x();
        const float y = m_surface.current_y();
        // The printer's own tables put other characters in some places.
        if (printed.italic || printed.character != character_of(m_job.CodePage, code)) {
            print_character_cells(printed.character, a.width());
        } else {
            print_cells(code, a.width());
        }
        if (a.underline) {
            underline(m_surface, x, y, m_job.CharWidth * static_cast<float>(a.width()),
                      m_job.LineHeight);
        }
    }

    const PrintJob& m_job;
    PrinterSurface& m_surface;
    EscpReader m_reader;
    bool m_marker_bold = false;
    int m_indent_left = 0; // blanks of the indentation still to come on this line
    char m_previous = 0;
};

} // namespace

void print_escp_text(const PrintJob& j, PrinterSurface& surface) {
    EscpPagePrinter page(j, surface);
    for (const char c : j.PrintText) {
        page.take(c);
    }
    plain_style(surface);
}

} // namespace kvalon
