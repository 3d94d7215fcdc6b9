#include "engine/pcl/pcl_page_model.h"

#include "engine/pcl/pcl_page_reader.h"
#include "engine/pcl/pcl_plan.h"
#include "engine/pcl/pcl_screen.h"
#include "engine/pcl/pcl_sheet_drawing.h"
#include "engine/print_job.h"
#include "engine/units.h"

namespace kvalon {

namespace {

class PclPageModel final : public PageModel {
public:
    bool reads_lines() const override { return false; }
    void plan(PrintJob& j, PrinterSurface& surface) const override { plan_pcl_layout(j, surface); }
    void read_page(PrintJob& j, SourceFile& source) const override { read_pcl_page(j, source); }
    std::string letters_of(std::string_view sample) const override {
        return without_pcl_commands(sample);
    }
    std::string screen_page(const PrintJob& j) const override {
        return pcl_screen_text(j.PrintText, j.Pcl->PageStart);
    }
    bool longest_line_is_printed_width() const override { return true; }
    void add_plan_lines(const PrintJob& j, PlanLines& lines) const override {
        const PclPageSize* size = pcl_page_size(j.Pcl->PageSize);
        lines.add("Pcl", j.LanguageByReport ? "1 (auto)" : "1");
        lines.add("PclPageSize", size != nullptr ? size->name : "");
        lines.add("PclTextLines", std::to_string(j.Pcl->TextLines));
        if (j.Pcl->SizesDiffer) {
            lines.add("PclSheets", j.Pcl->SheetPerPage ? "each page its own size"
                                                       : "the first page's size for every page");
        }
        lines.add_measure("Scale", j.Pcl->Scale);
        lines.add_measure("LeftMm", j.Pcl->LeftMm);
        lines.add_measure("TopMm", j.Pcl->TopMm);
    }
    // What the printer could print: its logical page across, its page down
    // within the sixth of an inch a LaserJet leaves at the top and bottom.
    PageArea printed_area(const PrintJob& j) const override {
        const PclJob& pcl = *j.Pcl;
        const double mm_per_unit = MmPerInch / static_cast<double>(kPclUnitsPerInch) * pcl.Scale;
        const std::int64_t edge = kPclSixthInch;
        PageArea area;
        area.left = pcl.LeftMm + static_cast<double>(pcl.Border) * mm_per_unit;
        area.top = pcl.TopMm + static_cast<double>(edge) * mm_per_unit;
        area.right = pcl.LeftMm + static_cast<double>(pcl.PageWidth - pcl.Border) * mm_per_unit;
        area.bottom = pcl.TopMm + static_cast<double>(pcl.PageLength - edge) * mm_per_unit;
        return area;
    }
    void draw_page(const PrintJob& j, PrinterSurface& surface, CellPainter& cells) const override {
        print_pcl_page(j, surface, cells);
    }
};

} // namespace

const PageModel& pcl_page_model() {
    static const PclPageModel model;
    return model;
}

} // namespace kvalon
