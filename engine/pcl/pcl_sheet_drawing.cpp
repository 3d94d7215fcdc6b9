#include "engine/pcl/pcl_sheet_drawing.h"

#include "engine/page_placement.h"
#include "engine/pcl/pcl_hatch.h"
#include "engine/pcl/pcl_plan.h"
#include "engine/pcl/pcl_printer.h"
#include "engine/units.h"

#include <algorithm>
#include <optional>

namespace kvalon {

namespace {

// Our face's letters are 0.6 of its size wide and rise 1705/2048 of it above
// the baseline.
constexpr double kAdvanceShare = 0.6;
constexpr double kAscentShare = 1705.0 / 2048.0;

using Placement = PagePlacement;

class SheetDrawing final : public PclOutput {
public:
    SheetDrawing(PrinterSurface& surface, CellPainter& cells, const Placement& place, double scale)
        : m_surface(surface), m_cells(cells), m_place(place), m_scale(scale) {}

    void glyph(const PclGlyph& glyph) override {
        if (m_done || !glyph.visible()) {
            return;
        }
        m_surface.set_font_size(static_cast<float>(glyph.points * m_scale));
        m_surface.set_font_bold(glyph.bold);
        m_surface.set_font_italic(glyph.italic);
        const double natural = kAdvanceShare * glyph.points * kPclUnitsPerPoint;
        m_surface.set_font_width_scale(static_cast<double>(glyph.width) / natural);
        const auto ascent =
            static_cast<std::int64_t>(kAscentShare * glyph.points * kPclUnitsPerPoint);
        const float x = m_place.x(glyph.x);
        const float y = m_place.y(glyph.baseline - ascent);
        const float width = m_place.length(glyph.width);
        const float height = m_place.length(glyph.line);
        if (glyph.by_symbol_set) {
            m_cells.paint_character(glyph.character, x, y, width, height);
        } else {
            m_cells.paint_code(glyph.code, x, y, width, height);
        }
    }

    void fill(const PclFill& fill) override {
        if (!m_done) {
            flush();
            if (fill.hatch > 0) {
                hatch(fill);
                return;
            }
            m_surface.fill_rect(m_place.x(fill.x), m_place.y(fill.y), m_place.length(fill.width),
                                m_place.length(fill.height), fill.grey);
        }
    }

    // Rows of one picture, each under the last, become one picture: no seam
    // between them however it is shown.
    void raster_row(const PclRasterRow& row) override {
        if (m_done) {
            return;
        }
        if (m_open && m_open->x == row.x && m_open->dot == row.dot &&
            m_open->image.columns() == row.image.columns() &&
            m_open->y + m_open->image.rows() * m_open->dot == row.y) {
            m_open->image.append_rows(row.image);
            return;
        }
        flush();
        m_open = row;
    }

    void page_end(bool had_print, const PclState&) override {
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
        m_surface.draw_image(m_place.x(m_open->x), m_place.y(m_open->y),
                             m_place.length(image.columns() * m_open->dot),
                             m_place.length(image.rows() * m_open->dot), image);
        m_open.reset();
    }

private:
    void hatch(const PclFill& fill) {
        const PclHatch lines = pcl_hatch(fill.hatch, fill.x, fill.y, fill.width, fill.height);
        m_surface.draw_image(m_place.x(lines.x), m_place.y(lines.y),
                             m_place.length(lines.image.columns() * lines.dot),
                             m_place.length(lines.image.rows() * lines.dot), lines.image);
    }

    PrinterSurface& m_surface;
    CellPainter& m_cells;
    Placement m_place;
    double m_scale;
    std::optional<PclRasterRow> m_open;
    bool m_done = false;
};

// Where the printer takes a sheet a page, a page of another size than the
// first has a sheet of its own size; else it goes on the planned sheet.
PclSheetPlace page_sheet(const PrintJob& j, PrinterSurface& surface) {
    const PclJob& pcl = j.Pcl.value();
    const PclSheetPlace planned{pcl.Scale, pcl.LeftMm, pcl.TopMm};
    const PclPageSize* size = pcl_page_size(pcl.PagePaperSize);
    if (!pcl.SheetPerPage || !pcl.SizesDiffer || size == nullptr) {
        return planned;
    }
    const bool landscape = j.Orientation == "L";
    set_pcl_sheet(surface, pcl.PagePaperSize, landscape);
    const PclSheetPlace own = pcl_sheet_place(surface, landscape ? size->length : size->width,
                                              landscape ? size->width : size->length);
    return own.scale > 0 ? own : planned;
}

} // namespace

void print_pcl_page(const PrintJob& j, PrinterSurface& surface, CellPainter& cells) {
    const PclJob& pcl = j.Pcl.value();
    const PclSheetPlace sheet = page_sheet(j, surface);
    const Placement place{sheet.left_mm, sheet.top_mm,
                          MmPerInch / static_cast<double>(kPclUnitsPerInch) * sheet.scale};
    SheetDrawing drawing(surface, cells, place, sheet.scale);
    PclPrinter printer(drawing, pcl.PageStart);
    printer.take(j.PrintText);
    printer.finish();
    drawing.flush();
    surface.set_font_bold(false);
    surface.set_font_italic(false);
    surface.set_font_width_scale(1);
    surface.set_font_size(static_cast<float>(12 * pcl.Scale));
}

} // namespace kvalon
