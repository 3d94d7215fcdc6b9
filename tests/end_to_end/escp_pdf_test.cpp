// Reports printed by the real program into the PDF printer: in the ESC/P
// mode, and the cut lines of a report that plans short.
#include "tests/support/pdf_tools.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace kvalon::testing {
namespace {

constexpr double kPointsPerMm = 72 / 25.4;
constexpr double kA4WidthPoints = 595.28;
constexpr int kDpi = 300;

std::string esc(const std::string& rest) {
    return "\x1b" + rest;
}

class EscpPdf : public ::testing::Test {
protected:
    // Plans and prints `bytes` with the given extra arguments and environment.
    void print_report(const std::string& bytes, const std::vector<std::string>& options,
                      std::map<std::string, std::string> env = {}) {
        write_bytes(dir.file("REPORT.TXT"), bytes);
        env.insert({{"KVALON_PDF", pdf()}, {"HOME", dir.path()}});
        std::vector<std::string> plan_args = {kvalon_binary(), "--plan"};
        plan_args.insert(plan_args.end(), options.begin(), options.end());
        plan_args.push_back(dir.file("REPORT.TXT"));
        const RunResult planned = run_program(plan_args, env);
        ASSERT_EQ(planned.status, 0) << planned.err;
        plan = parse_plan(planned.out);
        std::vector<std::string> print_args = {kvalon_binary()};
        print_args.insert(print_args.end(), options.begin(), options.end());
        print_args.push_back(dir.file("REPORT.TXT"));
        const RunResult printed = run_program(print_args, env);
        ASSERT_EQ(printed.status, 0) << printed.err;
        width = std::stod(plan.at("CharWidth"));
        height = std::stod(plan.at("LineHeight"));
        indent = std::stoi(plan.at("LeftIndent"));
    }

    std::string pdf() const { return dir.file("out.pdf"); }
    double left(int column) const { return (indent + column) * width; }
    double top(int row) const { return (2 + row) * height; }

    const PdfWord* word(const std::string& text) const {
        const auto found = std::find_if(words.begin(), words.end(),
                                        [&text](const PdfWord& w) { return w.text == text; });
        return found == words.end() ? nullptr : &*found;
    }

    TempDir dir;
    std::map<std::string, std::string> plan;
    std::vector<PdfWord> words;
    double width = 0;
    double height = 0;
    int indent = 0;
};

// Rows 0 to 5 of the report: a double-width title, bold and plain letters,
// underlined words, and a condensed table.
std::string escp_report() {
    return esc("@") + esc("x1") + esc("W1") + "AB" + esc("W0") + "cd\r\n" + esc("E") +
           to_mik("ЖЖЖЖЖЖ") + esc("F") + "\r\n" + to_mik("ЖЖЖЖЖЖ") + "\r\n" + esc("-1") +
           to_mik("Склад") + esc("-0") + " " + to_mik("Дата") + " " + esc(std::string("!\x80", 2)) +
           "end" + esc(std::string("!\0", 2)) + "\r\n" + "\x0f" + to_mik("│ab │ef │") + "\x12\r\n" +
           esc("G") + "gh" + esc("H") + esc("4") + "ij" + esc("5") + "kl\r\n";
}

TEST_F(EscpPdf, WordsLandInTheirColumnsWithNoStrayLetters) {
    print_report(escp_report(), {"--escp"});
    EXPECT_EQ(plan.at("Escp"), "1");
    EXPECT_EQ(plan.at("LongestLine"), "16"); // "Склад Дата end" and two
    words = pdf_words(pdf());
    struct Expected {
        const char* text;
        int row, column;
    };
    for (const Expected& e : {Expected{"ЖЖЖЖЖЖ", 1, 0}, Expected{"Склад", 3, 0},
                              Expected{"Дата", 3, 6}, Expected{"end", 3, 11}, Expected{"ab", 4, 1},
                              Expected{"ghijkl", 5, 0}, Expected{"ABcd", 0, 0}}) {
        const PdfWord* found = word(e.text);
        ASSERT_NE(found, nullptr) << e.text;
        EXPECT_NEAR(found->x_min, left(e.column) * kPointsPerMm, 0.6) << e.text;
        EXPECT_GE(found->y_min, top(e.row) * kPointsPerMm - 0.5) << e.text;
        EXPECT_LE(found->y_max, (top(e.row) + height) * kPointsPerMm + 0.5) << e.text;
    }
    for (const PdfWord& w : words) {
        for (const char* stray : {"@", "x1", "W1", "W0", "-1", "-0", "!", "E", "F", "G", "H"}) {
            EXPECT_EQ(w.text.find(stray), std::string::npos) << w.text;
        }
    }
}

TEST_F(EscpPdf, BoldAndUnderlineShowInThePixels) {
    print_report(escp_report(), {}, {{"KVALON_ESCP", "1"}});
    EXPECT_EQ(plan.at("Escp"), "1");
    const GreyImage page = render_page(pdf(), 1, kDpi);
    const double bold = page.mean(left(0), top(1), 6 * width, height);
    const double normal = page.mean(left(0), top(2), 6 * width, height);
    EXPECT_LT(bold, normal - 8) << normal << " " << bold;
    // A line under "Склад" and "end", none under "Дата".
    const double depth = top(3) + height * 0.85;
    for (const int column : {0, 2, 4, 11, 13}) {
        EXPECT_LT(page.darkest_near(left(column) + width / 2, depth, 1), 96) << column;
    }
    EXPECT_GT(page.darkest_near(left(7) + width / 2, depth, 1), 200);
}

// A letter in double width reaches into its second cell.
TEST_F(EscpPdf, DoubleWidthLettersSpanTwoCells) {
    print_report(escp_report(), {"--escp"});
    const GreyImage page = render_page(pdf(), 1, kDpi);
    EXPECT_LT(page.mean(left(1) + width * 0.2, top(0), width * 0.6, height), 250);
    EXPECT_LT(page.mean(left(3) + width * 0.2, top(0), width * 0.6, height), 250);
}

// A line of many bold markers after a longer line leaves LongestLine short:
// the longer line, cut at 69 characters, is indented for the short one and
// used to run two cells past the sheet's right edge.
TEST_F(EscpPdf, EveryCharacterOfACutLineIsOnTheSheet) {
    std::string digits;
    for (int i = 0; i < 70; ++i) {
        digits.push_back(static_cast<char>('0' + i % 10));
    }
    print_report(digits + "\r\n" + std::string(19, '\x02') + std::string(54, 'b') + "\r\n", {});
    ASSERT_EQ(plan.at("LongestLine"), "56");
    const int chars_per_line = std::stoi(plan.at("CharsPerLine"));
    const std::string cut = digits.substr(0, static_cast<std::size_t>(chars_per_line));
    words = pdf_words(pdf());
    const PdfWord* line = word(cut);
    ASSERT_NE(line, nullptr) << "the cut line is not whole";
    EXPECT_LE(line->x_max, kA4WidthPoints);
    EXPECT_NEAR(line->x_min, left(0) * kPointsPerMm, 0.6);
}

TEST_F(EscpPdf, TheModeIsOffUnlessAskedFor) {
    const std::string report = escp_report();
    print_report(report, {}, {{"KVALON_ESCP", "0"}});
    EXPECT_EQ(plan.count("Escp"), 0u);
    const RunResult refused = run_program({kvalon_binary(), "--plan", dir.file("REPORT.TXT")},
                                          {{"KVALON_ESCP", "yes"}, {"KVALON_PDF", pdf()}});
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("KVALON_ESCP=yes"), std::string::npos) << refused.err;
}

} // namespace
} // namespace kvalon::testing
