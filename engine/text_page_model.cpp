#include "engine/text_page_model.h"

#include "engine/plan_layout.h"
#include "engine/print_job.h"
#include "engine/read_page.h"

#include <algorithm>

namespace kvalon {

namespace {

class TextPageModel final : public PageModel {
public:
    bool reads_lines() const override { return true; }
    void plan(PrintJob& j, PrinterSurface& surface) const override { plan_text_layout(j, surface); }
    void read_page(PrintJob& j, SourceFile& source) const override { read_text_page(j, source); }
    std::string letters_of(std::string_view sample) const override { return std::string(sample); }
    std::string screen_page(const PrintJob& j) const override { return j.PrintText; }
    bool longest_line_is_printed_width() const override { return false; }
    void add_plan_lines(const PrintJob&, PlanLines&) const override {}
    PageArea printed_area(const PrintJob& j) const override;
    void draw_page(const PrintJob& j, PrinterSurface& surface, CellPainter& cells) const override {
        cells.paint_text_page(j, surface);
    }
};

// The cells the report's lines fill: LongestLine counts the longest line's
// cells and two more; the page reader cuts lines at CharsPerLine.
PageArea TextPageModel::printed_area(const PrintJob& j) const {
    const double cell = j.CharWidth;
    const double line = j.LineHeight;
    const double indent = std::max<int>(j.LeftIndent, 0);
    const double widest = std::clamp<int>(j.LongestLine - 2, 0, std::max<int>(j.CharsPerLine, 0));
    constexpr double kEmptyLinesAtTop = 2;
    PageArea area;
    area.left = indent * cell;
    area.right = (indent + widest) * cell;
    area.top = kEmptyLinesAtTop * line;
    area.bottom = (kEmptyLinesAtTop + std::max<int>(j.LinesPerPage, 0)) * line;
    return area;
}

} // namespace

const PageModel& text_page_model() {
    static const TextPageModel model;
    return model;
}

} // namespace kvalon
