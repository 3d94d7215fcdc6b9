#include "engine/bit_image.h"
#include "engine/error.h"
#include "engine/messages.h"
#include "printing/pdf/fd_byte_output.h"
#include "printing/pdf/pdf_stream_sink.h"
#include "printing/pdf/ttf_font_source.h"
#include "tests/printing/pdf_test_document.h"
#include "tests/support/pdf_tools.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fcntl.h>
#include <tuple>
#include <unistd.h>

namespace kvalon {
namespace {

using testing::PdfWord;
using testing::TestGrid;

constexpr double kPointsPerMm = 72.0 / 25.4;
// pdftotext states boxes in points; a glyph must land within this of its cell.
constexpr double kPlacementMm = 0.02;

const std::u32string kCyrillic =
    U"АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдежзийклмнопрстуфхцчшщъыьэюя";
const std::u32string kSigns = U"§°±√²№∞≈÷■αßΓπΣσµτΦΘΩδφε∩≡≥≤⌠⌡∙·ⁿ";

std::string utf8(const std::u32string& text) {
    std::string out;
    for (const char32_t c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// Every other cell of a row holds a glyph, so that each is a word of its own.
std::u32string spaced(const std::u32string& text) {
    std::u32string out;
    for (const char32_t c : text) {
        out += c;
        out += U' ';
    }
    return out;
}

class PdfWriter : public ::testing::Test {
protected:
    void write(const std::vector<PageDescription>& pages) {
        testing::write_pdf(pdf, pages);
        ASSERT_EQ(testing::qpdf_problems(pdf), "");
    }

    testing::TempDir dir;
    std::string pdf = dir.file("out.pdf");
    TestGrid grid;
};

TEST_F(PdfWriter, EveryGlyphLandsOnItsPosition) {
    PageDescription page = testing::test_page(true);
    const PageFace regular{"CourierCyr", grid.points(), false, false, 1};
    PageFace footer = regular;
    footer.points = 58 * 72.0 / 600; // another size, off the grid
    footer.bold = true;
    PageFace wide = regular;
    wide.width_scale = 2;
    page.faces = {regular, footer, wide};
    std::u32string full_row;
    for (int i = 0; i < 134; ++i) {
        full_row += kCyrillic[static_cast<std::size_t>(i) % kCyrillic.size()];
    }
    TextRun uneven{1, grid.baseline(2), {}};
    for (const double cells : {0.0, 2.5, 5.25, 9.0, 12.1}) {
        uneven.glyphs.push_back({U'Ф', grid.x(0) + cells * grid.pitch()});
    }
    page.runs = {testing::text_run(grid, 0, 0, 0, spaced(kCyrillic.substr(0, 60))),
                 testing::text_run(grid, 0, 1, 0, full_row), uneven,
                 testing::text_run(grid, 2, 3, 0, spaced(U"ШИРОКО"), 2)};
    write({page});

    std::vector<PdfWord> words = testing::pdf_words(pdf);
    std::sort(words.begin(), words.end(), [](const PdfWord& a, const PdfWord& b) {
        return std::tie(a.y_min, a.x_min) < std::tie(b.y_min, b.x_min);
    });
    std::size_t at = 0;
    for (const TextRun& run : page.runs) {
        const bool one_word = run.glyphs.size() == 134;
        for (std::size_t i = 0; i < (one_word ? 1 : run.glyphs.size()); ++i, ++at) {
            ASSERT_LT(at, words.size());
            EXPECT_NEAR(words[at].x_min / kPointsPerMm, run.glyphs[i].x, kPlacementMm)
                << words[at].text;
            EXPECT_LT(words[at].y_min / kPointsPerMm, run.baseline) << words[at].text;
            EXPECT_GT(words[at].y_max / kPointsPerMm, run.baseline) << words[at].text;
        }
        if (one_word) {
            // 134 cells without a drift: the row ends where its last cell ends.
            EXPECT_NEAR(words[at - 1].x_max / kPointsPerMm, grid.x(134), kPlacementMm);
            EXPECT_EQ(words[at - 1].text, utf8(full_row));
        }
    }
    EXPECT_EQ(at, words.size());
}

TEST_F(PdfWriter, TextExtractsAsTheCharactersPrinted) {
    PageDescription page = testing::test_page(false);
    PageFace bold{"CourierCyr", grid.points(), true, false, 1};
    page.faces = {{"CourierCyr", grid.points(), false, false, 1}, bold};
    page.runs = {testing::text_run(grid, 0, 0, 0, kCyrillic),
                 testing::text_run(grid, 0, 1, 0, kSigns),
                 testing::text_run(grid, 1, 2, 0, U"ОБОРОТНА ВЕДОМОСТ")};
    const std::string expected =
        utf8(kCyrillic) + "\n" + utf8(kSigns) + "\n" + "ОБОРОТНА ВЕДОМОСТ" + "\n";
    for (const int level : {PdfDocumentWriter::kDefaultDeflateLevel, 0}) {
        testing::write_pdf(pdf, {page}, "Kvalon-P TEST.TXT", level);
        ASSERT_EQ(testing::qpdf_problems(pdf), "") << level;
        const auto poppler = testing::run_program({"pdftotext", "-raw", pdf, "-"});
        EXPECT_EQ(poppler.out.substr(0, expected.size()), expected) << level;
    }
}

TEST_F(PdfWriter, PagesKeepTheirPaperOrderAndInformation) {
    PageDescription portrait = testing::test_page(false);
    portrait.faces = {{"CourierCyr", grid.points(), false, false, 1}};
    PageDescription landscape = testing::test_page(true);
    landscape.faces = portrait.faces;
    PageDescription letter = portrait;
    letter.width_points = 612;
    letter.height_points = 792;
    std::vector<PageDescription> pages = {portrait, landscape, letter};
    for (std::size_t i = 0; i < pages.size(); ++i) {
        // The last row of each page carries its number: a page cut short loses it.
        pages[i].runs = {
            testing::text_run(grid, 0, 0, 0, U"Начало"),
            testing::text_run(grid, 0, 45, 0,
                              U"Стр." + std::u32string(1, static_cast<char32_t>(U'1' + i)))};
    }
    testing::write_pdf(pdf, pages, "Kvalon-P ОТЧЕТ.TXT");
    ASSERT_EQ(testing::qpdf_problems(pdf), "");
    const auto info = testing::run_program({"pdfinfo", "-f", "1", "-l", "3", pdf});
    EXPECT_NE(info.out.find("Title:           Kvalon-P ОТЧЕТ.TXT"), std::string::npos);
    EXPECT_NE(info.out.find("Producer:        Kvalon-P"), std::string::npos);
    EXPECT_NE(info.out.find("Pages:           3"), std::string::npos);
    EXPECT_NE(info.out.find("Page    1 size:  595 x 842 pts (A4)"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("Page    2 size:  842 x 595 pts (A4)"), std::string::npos);
    EXPECT_NE(info.out.find("Page    3 size:  612 x 792 pts (letter)"), std::string::npos);
    for (int number = 1; number <= 3; ++number) {
        const auto text = testing::run_program(
            {"pdftotext", "-f", std::to_string(number), "-l", std::to_string(number), pdf, "-"});
        EXPECT_NE(text.out.find("Стр." + std::to_string(number)), std::string::npos) << text.out;
    }
}

TEST_F(PdfWriter, EverySubsetGlyphDrawsInk) {
    PageDescription page = testing::test_page(false);
    page.faces = {{"CourierCyr", grid.points(), false, false, 1}};
    page.runs = {testing::text_run(grid, 0, 0, 0, spaced(kCyrillic.substr(0, 32))),
                 testing::text_run(grid, 0, 1, 0, spaced(kCyrillic.substr(32))),
                 testing::text_run(grid, 0, 2, 0, spaced(kSigns))};
    write({page});
    const testing::GreyImage image = testing::render_page(pdf, 1, 300);
    for (const TextRun& run : page.runs) {
        for (const PlacedGlyph& glyph : run.glyphs) {
            const double top = run.baseline - grid.line_height() * 0.7;
            double darkest = 255;
            for (double y = top; y < run.baseline + 0.5; y += 0.05) {
                for (double x = glyph.x; x < glyph.x + grid.pitch(); x += 0.05) {
                    darkest = std::min<double>(darkest, image.darkest_near(x, y, 0));
                }
            }
            EXPECT_LT(darkest, 128) << utf8(std::u32string(1, glyph.code));
        }
    }
}

TEST_F(PdfWriter, BoldFillsAndStrokesLookAsPrinted) {
    PageDescription page = testing::test_page(false);
    page.faces = {{"CourierCyr", grid.points(), false, false, 1},
                  {"CourierCyr", grid.points(), true, false, 1}};
    page.runs = {testing::text_run(grid, 0, 0, 0, U"ЖЖЖЖЖЖЖЖ"),
                 testing::text_run(grid, 1, 1, 0, U"ЖЖЖЖЖЖЖЖ")};
    page.fills = {{grid.x(0), grid.row_top(3), 4 * grid.pitch(), grid.line_height(), 128},
                  {grid.x(4), grid.row_top(3), 4 * grid.pitch(), grid.line_height(), 0}};
    const double y = grid.row_top(6);
    const double width = 1; // wide enough to see its caps at 300 dpi
    page.strokes = {{grid.x(0), y, grid.x(10), y, width},
                    {grid.x(0), y + 3, grid.x(10), y + 3, grid.stroke_width()}};
    write({page});
    const testing::GreyImage image = testing::render_page(pdf, 1, 300);
    const double normal =
        image.mean(grid.x(0), grid.row_top(0), 8 * grid.pitch(), grid.line_height());
    const double bold =
        image.mean(grid.x(0), grid.row_top(1), 8 * grid.pitch(), grid.line_height());
    EXPECT_LT(bold, normal - 8) << normal << " " << bold;
    const double inset = 0.3;
    EXPECT_NEAR(image.mean(grid.x(0) + inset, grid.row_top(3) + inset, 4 * grid.pitch() - 2 * inset,
                           grid.line_height() - 2 * inset),
                128, 4);
    EXPECT_LT(image.mean(grid.x(4) + inset, grid.row_top(3) + inset, 4 * grid.pitch() - 2 * inset,
                         grid.line_height() - 2 * inset),
              4);
    // Black lines with square caps: past their ends by half their width.
    EXPECT_LT(image.darkest_near(grid.x(5), y, 0), 16);
    EXPECT_LT(image.darkest_near(grid.x(10) + width / 4, y, 0), 16);
    EXPECT_GT(image.darkest_near(grid.x(10) + width * 3 / 4, y, 0), 240);
    EXPECT_GT(image.darkest_near(grid.x(5), y + width * 3 / 4, 0), 240);
    EXPECT_LT(image.darkest_near(grid.x(5), y + 3, 1), 96);
    EXPECT_GT(image.darkest_near(grid.x(5), y + 3 + 0.3, 0), 240);
}

// The image objects of the PDF, counted from qpdf's reading of its objects.
int image_objects(const std::string& pdf) {
    const auto qpdf = testing::run_program({"qpdf", "--json=2", "--json-key=qpdf", pdf, "-"});
    int count = 0;
    for (std::size_t at = qpdf.out.find("\"/Subtype\": \"/Image\""); at != std::string::npos;
         at = qpdf.out.find("\"/Subtype\": \"/Image\"", at + 1)) {
        ++count;
    }
    return count;
}

BitImage filled(int columns, int rows) {
    BitImage dots(columns, rows);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            dots.set(column, row);
        }
    }
    return dots;
}

// A logo on every page is one object; a picture of the same bits in another
// shape is another one, and every placement still paints.
TEST_F(PdfWriter, APictureDrawnOnEveryPageIsWrittenOnce) {
    const BitImage logo = filled(16, 16);
    const BitImage bar = filled(32, 8); // the logo's bytes, another shape
    ASSERT_EQ(logo.bits(), bar.bits());
    std::vector<PageDescription> pages(200, testing::test_page(false));
    for (PageDescription& page : pages) {
        page.images = {{20, 20, 10, 10, logo}, {50, 20, 10, 10, logo}, {20, 50, 20, 5, bar}};
    }
    write(pages);
    EXPECT_EQ(image_objects(pdf), 2);
    const testing::GreyImage last = testing::render_page(pdf, 200, 100);
    for (const double x : {25.0, 55.0}) {
        EXPECT_LT(last.darkest_near(x, 25, 0), 16) << x;
    }
    EXPECT_LT(last.darkest_near(30, 52.5, 0), 16);
    EXPECT_GT(last.darkest_near(40, 25, 0), 240);
}

TEST_F(PdfWriter, AFailedWriteSaysWhyAndClosesTheDocument) {
    const TtfFontSource fonts(testing::font_file());
    const int descriptor = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    ASSERT_GE(descriptor, 0);
    FdByteOutput out(descriptor, "/media/full/out.pdf");
    PdfStreamSink sink(out, fonts);
    PageDescription page = testing::test_page(false);
    page.faces = {{"CourierCyr", grid.points(), false, false, 1}};
    page.runs = {testing::text_run(grid, 0, 0, 0, kCyrillic)};
    try {
        sink.begin({"Kvalon-P X.TXT", 1});
        for (int i = 0; i < 100; ++i) {
            sink.add_page(page);
        }
        sink.finish();
        FAIL() << "a full disk went unnoticed";
    } catch (const KvalonError& error) {
        EXPECT_EQ(error.kind(), ErrorKind::FileWrite);
        EXPECT_EQ(error.path(), "/media/full/out.pdf");
        EXPECT_EQ(error.detail(), messages::kDiskFull);
    }
    EXPECT_FALSE(sink.is_open());
    ::close(descriptor);
}

TEST_F(PdfWriter, AFaceWithoutAFontIsRefused) {
    struct NoFile : FontSource {
        bool has_bold_face(const std::string&) const override { return false; }
        std::string_view file(const std::string&, bool) const override { return {}; }
    } fonts;
    const int descriptor = ::open(pdf.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    FdByteOutput out(descriptor, pdf);
    PdfStreamSink sink(out, fonts);
    PageDescription page = testing::test_page(false);
    page.faces = {{"Missing", grid.points(), false, false, 1}};
    page.runs = {testing::text_run(grid, 0, 0, 0, U"А")};
    sink.begin({"Kvalon-P X.TXT", 1});
    EXPECT_THROW(sink.add_page(page), KvalonError);
    EXPECT_FALSE(sink.is_open());
    ::close(descriptor);
}

} // namespace
} // namespace kvalon
