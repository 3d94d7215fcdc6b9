#include "tests/support/pdf_tools.h"
#include "tests/support/recording_surface.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

namespace kvalon::testing {
namespace {

constexpr double kPointsPerMm = 72 / 25.4;
constexpr int kDpi = 150;

// A report printed by the real program into the PDF printer, with the plan
// that tells where each cell is.
class BatchPdfOutput : public ::testing::Test {
protected:
    void print_report(const std::string& utf8_lines) {
        write_bytes(dir.file("REPORT.TXT"), to_mik(utf8_lines));
        const std::map<std::string, std::string> env = {
            {"KVALON_PDF", pdf()}, {"HOME", dir.path()}, {"XDG_DATA_HOME", dir.file("data")}};
        const RunResult planned =
            run_program({kvalon_binary(), "--plan", dir.file("REPORT.TXT")}, env);
        ASSERT_EQ(planned.status, 0) << planned.err;
        plan = parse_plan(planned.out);
        const RunResult printed = run_program({kvalon_binary(), dir.file("REPORT.TXT")}, env);
        ASSERT_EQ(printed.status, 0) << printed.err;
        width = std::stod(plan.at("CharWidth"));
        height = std::stod(plan.at("LineHeight"));
        indent = std::stoi(plan.at("LeftIndent"));
    }

    std::string pdf() const { return dir.file("out.pdf"); }
    // Cell corners and centres in millimetres; rows count from the first
    // source line, after the page's two empty lines.
    double left(int column) const { return (indent + column) * width; }
    double top(int row) const { return (2 + row) * height; }
    double centre_x(int column) const { return left(column) + width / 2; }
    double centre_y(int row) const { return top(row) + height / 2; }

    TempDir dir;
    std::map<std::string, std::string> plan;
    double width = 0;
    double height = 0;
    int indent = 0;
};

const std::string kTables = "Кирилица ABC №5\r\n"
                            "\r\n"
                            "┌────┬────┐\r\n"
                            "│ab  │cd  │\r\n"
                            "├────┼────┤\r\n"
                            "│ef  │gh  │\r\n"
                            "└────┴────┘\r\n"
                            "\r\n"
                            "╔════╦════╗\r\n"
                            "║    ║    ║\r\n"
                            "╚════╩════╝\r\n"
                            "ЖЖЖЖЖЖЖЖ\r\n"
                            "\x02ЖЖЖЖЖЖЖЖ\x02\r\n"
                            "░▒▓█ \x1b\x0f\x12§±°\r\n";

TEST_F(BatchPdfOutput, OneA4PortraitPageWithEveryGlyphInItsCell) {
    print_report(kTables);
    const auto info = pdf_info(pdf());
    EXPECT_EQ(info.at("Pages"), "1");
    EXPECT_EQ(info.at("Page size"), "595 x 842 pts (A4)");
    const auto words = pdf_words(pdf());
    const auto find = [&words](const std::string& text) {
        return std::find_if(words.begin(), words.end(),
                            [&text](const PdfWord& w) { return w.text == text; });
    };
    struct Expected {
        const char* text;
        int row, column;
    };
    for (const Expected& e :
         {Expected{"Кирилица", 0, 0}, Expected{"ABC", 0, 9}, Expected{"N5", 0, 13},
          Expected{"ab", 3, 1}, Expected{"gh", 5, 6}, Expected{"§±°", 13, 8}}) {
        const auto word = find(e.text);
        ASSERT_NE(word, words.end()) << e.text;
        EXPECT_NEAR(word->x_min, left(e.column) * kPointsPerMm, 0.6) << e.text;
        const auto cells = static_cast<double>(code_points(e.text));
        EXPECT_LE(word->x_max - word->x_min, cells * width * kPointsPerMm + 0.5) << e.text;
        EXPECT_GE(word->x_max - word->x_min, (cells - 1) * width * kPointsPerMm) << e.text;
        EXPECT_GE(word->y_min, top(e.row) * kPointsPerMm - 0.5) << e.text;
        EXPECT_LE(word->y_max, (top(e.row) + height) * kPointsPerMm + 0.5) << e.text;
    }
    // Box characters are drawn, never printed as letters.
    for (const PdfWord& word : words) {
        for (const char* garbage : {"З", "Н", "Й", "Д", "Щ", "С", "@"}) {
            EXPECT_EQ(word.text.find(garbage), std::string::npos) << word.text;
        }
    }
}

TEST_F(BatchPdfOutput, TableFramesAreContinuousAndCornersClosed) {
    print_report(kTables);
    const GreyImage page = render_page(pdf(), 1, kDpi);
    for (const int column : {0, 5, 10}) {
        EXPECT_TRUE(dark_along(page, centre_x(column), centre_y(2), centre_x(column), centre_y(6)))
            << "column " << column;
    }
    for (const int row : {2, 4, 6}) {
        EXPECT_TRUE(dark_along(page, centre_x(0), centre_y(row), centre_x(10), centre_y(row)))
            << "row " << row;
    }
    // Nothing sticks out of the frame's corners.
    EXPECT_GT(page.darkest_near(centre_x(0), top(2) + 0.1, 0), 200);
    EXPECT_GT(page.darkest_near(left(0) + 0.1, centre_y(2), 0), 200);
    EXPECT_GT(page.darkest_near(left(11) - 0.1, centre_y(6), 0), 200);
}

TEST_F(BatchPdfOutput, DoubleFramesAreTwoContinuousStrokes) {
    print_report(kTables);
    const GreyImage page = render_page(pdf(), 1, 300);
    const double offset = std::min(width, height) / 5;
    for (const double side : {-offset, offset}) {
        for (const int column : {0, 5, 10}) {
            const double x = centre_x(column) + side;
            EXPECT_TRUE(dark_along(page, x, centre_y(8) + offset, x, centre_y(10) - offset))
                << column << " " << side;
        }
    }
    // The outer stroke runs through the tee; the inner one stops at its pair.
    const double outer = centre_y(8) - offset;
    EXPECT_TRUE(dark_along(page, centre_x(0) - offset, outer, centre_x(10) + offset, outer));
    const double inner = centre_y(8) + offset;
    EXPECT_TRUE(dark_along(page, centre_x(0) + offset, inner, centre_x(5) - offset, inner));
    EXPECT_TRUE(dark_along(page, centre_x(5) + offset, inner, centre_x(10) - offset, inner));
    EXPECT_GT(page.darkest_near(centre_x(5), inner, 0), 200);
    // Between the strokes of a pair the paper stays white.
    EXPECT_GT(page.darkest_near(centre_x(0), centre_y(9), 0), 200);
    EXPECT_GT(page.darkest_near(centre_x(2), centre_y(8), 0), 200);
}

TEST_F(BatchPdfOutput, BoldIsDarkerAndShadesHaveTheirGrey) {
    print_report(kTables);
    const GreyImage page = render_page(pdf(), 1, 300);
    const double normal = page.mean(left(0), top(11), 8 * width, height);
    const double bold = page.mean(left(0), top(12), 8 * width, height);
    EXPECT_LT(bold, normal - 8) << normal << " " << bold;
    const double inset_x = width * 0.15;
    const double inset_y = height * 0.15;
    const int greys[] = {191, 128, 64, 0};
    for (int column = 0; column < 4; ++column) {
        const double grey = page.mean(left(column) + inset_x, top(13) + inset_y,
                                      width - 2 * inset_x, height - 2 * inset_y);
        EXPECT_NEAR(grey, greys[column], 12) << column;
    }
    // Neighbouring fills touch: no light seam between ▓ and █.
    EXPECT_LT(page.darkest_near(left(3), centre_y(13), 0), 80);
}

TEST_F(BatchPdfOutput, LongLinesGoLandscapeAndFormFeedsMakePages) {
    std::string report = std::string(130, 'x') + "\r\nfirst\r\n\f\r\nsecond\r\n\f\r\nthird\r\n";
    print_report(report);
    EXPECT_EQ(plan.at("Orientation"), "L");
    EXPECT_EQ(plan.at("FontSize"), "9");
    const auto info = pdf_info(pdf());
    EXPECT_EQ(info.at("Pages"), "3");
    EXPECT_EQ(info.at("Page size"), "842 x 595 pts (A4)");
    std::vector<std::pair<std::string, int>> found;
    for (const PdfWord& word : pdf_words(pdf())) {
        if (word.text == "first" || word.text == "second" || word.text == "third") {
            found.emplace_back(word.text, word.page);
        }
    }
    EXPECT_EQ(found, (std::vector<std::pair<std::string, int>>{
                         {"first", 1}, {"second", 2}, {"third", 3}}));
}

// DOS programs write a form feed and the next page's first line on one line.
// That line used to be lost whole: the header of page 2 did not print. The
// plan counts lines as it always did.
TEST_F(BatchPdfOutput, TheLineAfterAFormFeedBeginsTheNextPage) {
    print_report("FIRST\r\nmore\r\n\fSECOND PAGE HEADER - INVOICE 42\r\nbody\r\n");
    EXPECT_EQ(plan.at("LineCount"), "4");
    EXPECT_EQ(plan.at("PageCount"), "1");
    std::vector<std::tuple<std::string, int, long>> found; // word, page, row
    for (const PdfWord& word : pdf_words(pdf())) {
        const double row = (word.y_min / kPointsPerMm) / height - 2;
        found.emplace_back(word.text, word.page, std::lround(row));
    }
    EXPECT_EQ(found, (std::vector<std::tuple<std::string, int, long>>{{"FIRST", 1, 0},
                                                                      {"more", 1, 1},
                                                                      {"SECOND", 2, 0},
                                                                      {"PAGE", 2, 0},
                                                                      {"HEADER", 2, 0},
                                                                      {"-", 2, 0},
                                                                      {"INVOICE", 2, 0},
                                                                      {"42", 2, 0},
                                                                      {"body", 2, 1}}));
}

TEST_F(BatchPdfOutput, TheBundledSamplePrintsOnTwoPages) {
    write_bytes(dir.file("REPORT.TXT"), read_bytes(source_dir() + "/samples/sample-report.txt"));
    const RunResult printed = run_program({kvalon_binary(), dir.file("REPORT.TXT")},
                                          {{"KVALON_PDF", pdf()}, {"HOME", dir.path()}});
    ASSERT_EQ(printed.status, 0) << printed.err;
    EXPECT_EQ(pdf_pages(pdf()), 2);
    const RunResult text = run_program({"pdftotext", "-layout", pdf(), "-"});
    EXPECT_NE(text.out.find("СПРАВКА ЗА НАЛИЧНОСТИТЕ"), std::string::npos);
    EXPECT_NE(text.out.find("Брашно тип 500"), std::string::npos);
    EXPECT_EQ(text.out.find("фактуриране"), std::string::npos); // no footer in batch jobs
}

} // namespace
} // namespace kvalon::testing
