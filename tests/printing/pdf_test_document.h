#pragma once

#include "printing/page_description.h"
#include "printing/pdf/fd_byte_output.h"
#include "printing/pdf/pdf_stream_sink.h"
#include "printing/pdf/ttf_font_source.h"
#include "tests/support/test_files.h"

#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace kvalon::testing {

// Pages for the PDF writer laid out as the program lays out a report: cells
// of CourierCyr at a whole number of device pixels, text on baselines, box
// lines 4 pixels wide.
struct TestGrid {
    int dpi = 600;
    int pixels = 75; // 9 points
    double left = 20;
    double top = 10;

    double points() const { return pixels * 72.0 / dpi; }
    double pitch() const { return 1229.0 / 2048 * pixels / dpi * 25.4; }
    double line_height() const { return 2320.0 / 2048 * pixels / dpi * 25.4; }
    double x(int column) const { return left + column * pitch(); }
    double row_top(int row) const { return top + row * line_height(); }
    double baseline(int row) const { return row_top(row) + 1705.0 / 2048 * pixels / dpi * 25.4; }
    double stroke_width() const { return 4.0 * 25.4 / dpi; }
};

inline PageDescription test_page(bool landscape) {
    PageDescription page;
    page.width_mm = landscape ? 297 : 210;
    page.height_mm = landscape ? 210 : 297;
    page.width_points = landscape ? 842 : 595;
    page.height_points = landscape ? 595 : 842;
    page.landscape = landscape;
    return page;
}

// The glyphs of `text` from `column` on, blanks left out.
inline TextRun text_run(const TestGrid& grid, std::size_t face, int row, int column,
                        const std::u32string& text, int cells_per_char = 1) {
    TextRun run{face, grid.baseline(row), {}};
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != U' ') {
            run.glyphs.push_back({text[i], grid.x(column + static_cast<int>(i) * cells_per_char)});
        }
    }
    return run;
}

inline std::string font_file() {
    return (std::filesystem::path(kvalon_binary()).parent_path() / "crcn.ttf").string();
}

// Writes `pages` as one document through the streaming sink.
inline void write_pdf(const std::string& path, const std::vector<PageDescription>& pages,
                      const std::string& title = "Kvalon-P TEST.TXT",
                      int deflate_level = PdfDocumentWriter::kDefaultDeflateLevel) {
    const TtfFontSource fonts(font_file());
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (descriptor < 0) {
        throw std::runtime_error("cannot create " + path);
    }
    FdByteOutput out(descriptor, path);
    PdfStreamSink sink(out, fonts, deflate_level);
    sink.begin({title, 1});
    for (const PageDescription& page : pages) {
        sink.add_page(page);
    }
    sink.finish();
    ::close(descriptor);
}

// qpdf's verdict: empty when the file is sound, else what it found.
} // namespace kvalon::testing
