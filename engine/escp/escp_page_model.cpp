#include "engine/escp/escp_page_model.h"

#include "engine/escp/escp_page_reader.h"
#include "engine/escp/escp_plan.h"
#include "engine/escp/escp_screen.h"
#include "engine/escp/escp_sheet_drawing.h"
#include "engine/print_job.h"
#include "engine/units.h"

namespace kvalon {

namespace {

double inches(std::int64_t units) {
    return static_cast<double>(units) / static_cast<double>(kEscpUnitsPerInch);
}

class EscpPageModel final : public PageModel {
public:
    // A line's width is its printed cells, known only at its end.
    bool reads_lines() const override { return false; }
    void plan(PrintJob& j, PrinterSurface& surface) const override { plan_escp_layout(j, surface); }
    void read_page(PrintJob& j, SourceFile& source) const override { read_escp_page(j, source); }
    std::string letters_of(std::string_view sample) const override {
        return without_escp_sequences(sample);
    }
    std::string screen_page(const PrintJob& j) const override {
        return escp_screen_text(j.PrintText, j.Escp->PageStart);
    }
    bool longest_line_is_printed_width() const override { return true; }
    void add_plan_lines(const PrintJob& j, PlanLines& lines) const override {
        lines.add("Escp", j.LanguageByReport ? "1 (auto)" : "1");
        lines.add_measure("FormLength", inches(j.Escp->FormLength));
        lines.add_measure("PrinterFormLength", inches(j.PrinterFormLength));
        lines.add_measure("PrintedWidth", inches(j.Escp->Width));
        lines.add_measure("Scale", j.Escp->Scale);
        lines.add_measure("LeftMm", j.Escp->LeftMm);
        lines.add_measure("TopMm", j.Escp->TopMm);
    }
    PageArea printed_area(const PrintJob& j) const override;
    void draw_page(const PrintJob& j, PrinterSurface& surface, CellPainter& cells) const override {
        print_escp_page(j, surface, cells);
    }
};

// The printer's page, its form by its widest line, as planning laid it on
// the sheet.
PageArea EscpPageModel::printed_area(const PrintJob& j) const {
    const EscpJob& escp = *j.Escp;
    const double mm_per_unit = MmPerInch / static_cast<double>(kEscpUnitsPerInch) * escp.Scale;
    PageArea area;
    area.left = escp.LeftMm;
    area.top = escp.TopMm;
    area.right = area.left + static_cast<double>(escp.Width) * mm_per_unit;
    area.bottom = area.top + static_cast<double>(escp.FormLength) * mm_per_unit;
    return area;
}

} // namespace

const PageModel& escp_page_model() {
    static const EscpPageModel model;
    return model;
}

} // namespace kvalon
