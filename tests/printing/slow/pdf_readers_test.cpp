// What other programs make of our PDF: Ghostscript against poppler, and the
// CUPS filters a queue runs it through.
#include "tests/printing/pdf_test_document.h"
#include "tests/support/pdf_tools.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

namespace kvalon {
namespace {

using testing::run_program;

class PdfReaders : public ::testing::Test {
protected:
    // One page with all that a report holds: text in two weights, Cyrillic and
    // signs, a grey fill and a frame.
    static PageDescription report_page() {
        const testing::TestGrid grid;
        PageDescription page = testing::test_page(true);
        page.faces = {{"CourierCyr", grid.points(), false, false, 1},
                      {"CourierCyr", grid.points(), true, false, 1}};
        page.runs = {testing::text_run(grid, 1, 0, 0, U"ОБОРОТНА ВЕДОМОСТ № 12"),
                     testing::text_run(grid, 0, 2, 1, U"Брашно тип 500   кг   12.50 ± 0.5°"),
                     testing::text_run(grid, 0, 3, 1, U"§ 4   √2   x²   ∞")};
        page.fills = {{grid.x(40), grid.row_top(2), 3 * grid.pitch(), grid.line_height(), 128}};
        const double top = grid.row_top(1) + grid.line_height() / 2;
        const double bottom = grid.row_top(4) + grid.line_height() / 2;
        const double right = grid.x(38);
        page.strokes = {{grid.x(0), top, right, top, grid.stroke_width()},
                        {grid.x(0), bottom, right, bottom, grid.stroke_width()},
                        {grid.x(0), top, grid.x(0), bottom, grid.stroke_width()},
                        {right, top, right, bottom, grid.stroke_width()}};
        return page;
    }

    void write(int pages) {
        testing::write_pdf(
            pdf, std::vector<PageDescription>(static_cast<std::size_t>(pages), report_page()));
        ASSERT_EQ(testing::qpdf_problems(pdf), "");
    }

    testing::TempDir dir;
    std::string pdf = dir.file("report.pdf");
};

// Words in reading order, blanks between them made one.
std::string words_of(const std::string& text) {
    std::istringstream in(text);
    std::string word;
    std::string words;
    while (in >> word) {
        words += word + ' ';
    }
    return words;
}

testing::GreyImage ghostscript_render(const std::string& pdf, int dpi) {
    const auto result =
        run_program({"gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=pgmraw",
                     "-dTextAlphaBits=4", "-dGraphicsAlphaBits=4", "-r" + std::to_string(dpi),
                     "-dFirstPage=1", "-dLastPage=1", "-sOutputFile=-", pdf});
    std::istringstream in(result.out);
    std::string magic;
    std::string comment;
    int maximum = 0;
    testing::GreyImage image;
    in >> magic >> std::ws;
    while (in.peek() == '#') {
        std::getline(in, comment);
    }
    in >> image.width >> image.height >> maximum;
    in.get();
    image.dpi = dpi;
    image.pixels.resize(static_cast<std::size_t>(image.width) *
                        static_cast<std::size_t>(image.height));
    in.read(reinterpret_cast<char*>(image.pixels.data()),
            static_cast<std::streamsize>(image.pixels.size()));
    return image;
}

TEST_F(PdfReaders, GhostscriptReadsWhatPopplerReads) {
    write(1);
    const auto poppler = run_program({"pdftotext", "-raw", pdf, "-"});
    const auto ghostscript = run_program({"gs", "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE",
                                          "-sDEVICE=txtwrite", "-sOutputFile=-", pdf});
    EXPECT_EQ(words_of(ghostscript.out), words_of(poppler.out));
    EXPECT_EQ(words_of(poppler.out),
              "ОБОРОТНА ВЕДОМОСТ № 12 Брашно тип 500 кг 12.50 ± 0.5° § 4 √2 x² ∞ ");

    // Both draw the same page: where one puts ink in a millimetre square, so
    // does the other (their edges are smoothed each its own way).
    constexpr int kDpi = 100;
    const testing::GreyImage ours = testing::render_page(pdf, 1, kDpi);
    const testing::GreyImage theirs = ghostscript_render(pdf, kDpi);
    ASSERT_NEAR(ours.width, theirs.width, 1); // each rounds the sheet its own way
    ASSERT_NEAR(ours.height, theirs.height, 1);
    auto darkest = [](const testing::GreyImage& image, int left, int top, int size) {
        int found = 255;
        for (int y = top; y < top + size && y < image.height; ++y) {
            for (int x = left; x < left + size && x < image.width; ++x) {
                found = std::min(found, image.at(x, y));
            }
        }
        return found;
    };
    const int block = 4; // about a millimetre
    int inked = 0;
    int disagree = 0;
    for (int y = 0; y < std::min(ours.height, theirs.height); y += block) {
        for (int x = 0; x < std::min(ours.width, theirs.width); x += block) {
            const int a = darkest(ours, x, y, block);
            const int b = darkest(theirs, x, y, block);
            inked += a < 100 ? 1 : 0;
            disagree += (a < 100 && b > 200) || (b < 100 && a > 200) ? 1 : 0;
        }
    }
    EXPECT_GT(inked, 200);
    EXPECT_LE(disagree, inked / 100) << inked;
}

TEST_F(PdfReaders, CupsFiltersTakeTheDocumentWhole) {
    write(3);
    const auto pdftopdf =
        run_program({"/usr/lib/cups/filter/pdftopdf", "1", "user", "title", "1", "", pdf});
    ASSERT_EQ(pdftopdf.status, 0) << pdftopdf.err;
    testing::write_bytes(dir.file("filtered.pdf"), pdftopdf.out);
    EXPECT_EQ(testing::qpdf_problems(dir.file("filtered.pdf")), "");
    EXPECT_EQ(testing::pdf_pages(dir.file("filtered.pdf")), 3);
    const auto pdftops =
        run_program({"/usr/lib/cups/filter/pdftops", "1", "user", "title", "1", "", pdf});
    ASSERT_EQ(pdftops.status, 0) << pdftops.err;
    EXPECT_EQ(pdftops.out.rfind("%!PS", 0), 0u);
    EXPECT_NE(pdftops.out.find("%%Pages: 3"), std::string::npos);
}

} // namespace
} // namespace kvalon
