#include "engine/escp/escp_sheet_drawing.h"

#include "engine/escp/escp_printer.h"
#include "engine/page_placement.h"
#include "engine/units.h"

#include <algorithm>
#include <optional>

namespace kvalon {

namespace {

constexpr int kUnderlinePixels = 4;
// Under the letters and clear of the line below, as a share of a sixth of an
// inch, the printer's usual line.
constexpr double kUnderlineDepth = 0.85;

void plain_style(PrinterSurface& surface) {
    surface.set_font_bold(false);
    surface.set_font_italic(false);
    surface.set_font_width_scale(1);
}

using Placement = PagePlacement;

// Draws the printer's work on the sheet until its page ends.
class SheetDrawing final : public EscpOutput {
public:
    SheetDrawing(PrinterSurface& surface, CellPainter& cells, const Placement& place)
        : m_surface(surface), m_cells(cells), m_place(place),
          m_bottom(static_cast<float>(place.top_mm)) {}

    void glyph(const EscpGlyph& glyph) override {
        if (m_done || (glyph.code == ' ' && !glyph.underline)) {
            return;
        }
        m_surface.set_font_bold(glyph.bold);
        m_surface.set_font_italic(glyph.italic);
        m_surface.set_font_width_scale(static_cast<double>(glyph.letter_width) / kEscpPicaColumn);
        const float x = m_place.x(glyph.x);
        const float y = m_place.y(glyph.y);
        // The printer's own tables put other characters in some places.
        const float width = m_place.length(glyph.width);
        const float height = m_place.length(glyph.height);
        if (glyph.by_printer_table) {
            m_cells.paint_character(glyph.character, x, y, width, height);
        } else {
            m_cells.paint_code(glyph.code, x, y, width, height);
        }
        if (glyph.underline) {
            underline(
                x, y + m_place.length(static_cast<std::int64_t>(kUnderlineDepth * kEscpSixthInch)),
                m_place.length(glyph.width));
        }
        m_bottom = std::max(m_bottom, y + m_place.length(glyph.height));
    }

    // Bands of one picture, printed one under the other at its own line
    // spacing, become one picture: no seam between them however it is shown.
    void dots(const EscpDots& dots) override {
        if (m_done) {
            return;
        }
        if (m_open && m_open->x == dots.x && m_open->column_pitch == dots.column_pitch &&
            m_open->row_pitch == dots.row_pitch &&
            m_open->y + m_open->image.rows() * m_open->row_pitch == dots.y) {
            m_open->image.append_rows(dots.image);
            return;
        }
        flush();
        m_open = dots;
    }

    void page_end(bool had_print) override {
        if (had_print) {
            flush();
            m_done = true;
        }
    }

    void flush() {
        if (!m_open) {
            return;
        }
        const BitImage& image = m_open->image;
        const float top = m_place.y(m_open->y);
        const float height = m_place.length(image.rows() * m_open->row_pitch);
        m_surface.draw_image(m_place.x(m_open->x), top,
                             m_place.length(image.columns() * m_open->column_pitch), height, image);
        m_bottom = std::max(m_bottom, top + height);
        m_open.reset();
    }

    float bottom() const { return m_bottom; }

private:
    void underline(float x, float y, float width) {
        const int saved_width = m_surface.draw_width();
        m_surface.set_draw_width(kUnderlinePixels);
        m_surface.line(x, y, x + width, y);
        m_surface.set_draw_width(saved_width);
    }

    PrinterSurface& m_surface;
    CellPainter& m_cells;
    Placement m_place;
    std::optional<EscpDots> m_open; // the picture still growing
    float m_bottom;
    bool m_done = false;
};

} // namespace

void print_escp_page(const PrintJob& j, PrinterSurface& surface, CellPainter& cells) {
    const EscpJob& escp = j.Escp.value();
    const Placement place{escp.LeftMm, escp.TopMm,
                          MmPerInch / static_cast<double>(kEscpUnitsPerInch) * escp.Scale};
    surface.set_font_size(static_cast<float>(kEscpPicaPoints * escp.Scale));
    SheetDrawing drawing(surface, cells, place);
    EscpPrinter printer(drawing, escp.PageStart);
    printer.take(j.PrintText);
    printer.finish();
    drawing.flush();
    plain_style(surface);
    surface.set_current_x(static_cast<float>(escp.LeftMm));
    surface.set_current_y(drawing.bottom());
}

} // namespace kvalon
