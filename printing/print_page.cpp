#include "printing/print_page.h"

#include "engine/control_codes.h"
#include "engine/messages.h"
#include "engine/print_job.h"
#include "engine/printer_language.h"
#include "engine/printer_surface.h"
#include "platform/path_text.h"
#include "printing/print_char.h"
#include "printing/sheet_placement.h"

#include "build_info.h"

#include <filesystem>

namespace kvalon {

namespace {
constexpr float kFooterPoints = 6;
constexpr char kLineFeed = codes::LineFeed;
constexpr char kCarriageReturn = codes::CarriageReturn;

void apply_job_font_and_orientation(const PrintJob& j, PrinterSurface& surface) {
    surface.set_font_name(j.FontFace);
    surface.set_font_size(static_cast<float>(j.FontSize));
    surface.set_font_bold(false);
    if (j.Orientation == "L") {
        surface.set_orientation(PrinterSurface::kLandscape);
    } else if (j.Orientation == "P") {
        surface.set_orientation(PrinterSurface::kPortrait);
    }
}

void print_characters(const PrintJob& j, PrinterSurface& surface) {
    const char marker = j.SkipChar.empty() ? '\0' : j.SkipChar[0];
    const bool has_marker = !j.SkipChar.empty();
    const std::string& text = j.PrintText;
    std::string cell(1, ' ');
    for (const char c : text) {
        const bool is_marker = has_marker && c == marker;
        if (is_marker) {
            surface.set_font_bold(!surface.font_bold());
        }
        if (c == kLineFeed || c == kCarriageReturn) {
            surface.set_font_bold(false);
        }
        if (!is_marker) {
            cell[0] = c;
            print_char(cell);
        }
    }
}

// Letters in cells as this layer renders them, for every printer language.
class JobCells final : public CellPainter {
public:
    void paint_text_page(const PrintJob& j, PrinterSurface& surface) override {
        print_characters(j, surface);
    }
    void paint_code(unsigned char code, float x, float y, float width, float height) override {
        print_in_cell(cell_content(code), x, y, width, height);
    }
    void paint_character(char32_t character, float x, float y, float width, float height) override {
        print_in_cell(character_content(character), x, y, width, height);
    }
};

void print_footer(PrinterSurface& surface) {
    surface.set_font_size(kFooterPoints);
    surface.set_font_bold(true);
    surface.print(footer_line(), true);
}

} // namespace

std::string footer_line() {
    return std::string(10, ' ') + build_info::home_url + "  " + messages::kFooterText;
}

std::string document_title(const std::string& source_path) {
    return messages::kTitle + " " + text_of(path_of(source_path).filename());
}

void print_page() {
    const PrintJob& j = job();
    if (j.PageText.empty()) {
        return;
    }
    PrinterSurface& surface = printer();
    apply_job_font_and_orientation(j, surface);
    surface.set_cell_area(planned_cell_area(j));
    JobCells cells;
    page_model(j).draw_page(j, surface, cells);
    if (j.SourceDone) {
        if (!j.CommandLineJob) {
            print_footer(surface);
        }
        surface.end_doc();
    } else {
        surface.new_page();
    }
}

bool end_printed_pages() {
    PrinterSurface& surface = printer();
    if (!surface.return_to_last_page()) {
        return false;
    }
    print_footer(surface);
    surface.end_doc();
    return true;
}

} // namespace kvalon
