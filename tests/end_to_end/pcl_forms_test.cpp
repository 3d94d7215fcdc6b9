// PCL forms as drivers draw them, printed by the real program into the PDF
// printer: cross-hatched boxes show their lines, macros print where they are
// run and overlays on every page.
#include "tests/support/pdf_tools.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace kvalon::testing {
namespace {

// On an A4 page upright the logical page begins 71 dots from the left edge;
// the top margin is half an inch.
constexpr int kBorderDots = 71;
constexpr int kTopMarginDots = 150;

std::string esc(const std::string& rest) {
    return "\x1b" + rest;
}

class PclForms : public ::testing::Test {
protected:
    void print_job(const std::string& bytes) {
        write_bytes(job_path(), bytes);
        const RunResult planned = run_program({kvalon_binary(), "--plan", job_path()}, env());
        ASSERT_EQ(planned.status, 0) << planned.err;
        plan = parse_plan(planned.out);
        const RunResult printed = run_program({kvalon_binary(), job_path()}, env());
        ASSERT_EQ(printed.status, 0) << printed.err;
    }
    std::map<std::string, std::string> env() const {
        return {{"KVALON_PDF", pdf()}, {"HOME", dir.path()}};
    }
    std::string job_path() const { return dir.file("FORM.PRN"); }
    std::string pdf() const { return dir.file("out.pdf"); }

    TempDir dir;
    std::map<std::string, std::string> plan;
};

// The directions in which a dark dot of the square (in dots at 300 to the
// inch from the logical page's corner) goes on dark: across, down, rising
// and falling; a direction counts when most dark dots go on along it.
std::string line_directions(const GreyImage& page, int left, int top, int size) {
    constexpr int kStep = 4;
    const int steps[4][2] = {{kStep, 0}, {0, kStep}, {kStep, -kStep}, {kStep, kStep}};
    const char* names[4] = {"-", "|", "/", "\\"};
    int dark = 0;
    int along[4] = {};
    for (int y = top + kStep; y < top + size - kStep; ++y) {
        for (int x = left + kStep; x < left + size - kStep; ++x) {
            if (page.at(x, y) >= 128) {
                continue;
            }
            ++dark;
            for (int d = 0; d < 4; ++d) {
                along[d] += page.at(x + steps[d][0], y + steps[d][1]) < 128 ? 1 : 0;
            }
        }
    }
    std::string found;
    for (int d = 0; d < 4; ++d) {
        found += dark > 0 && along[d] * 10 > dark * 4 ? names[d] : "";
    }
    return found;
}

// Each of the six cross-hatch patterns fills its square with lines in its
// own directions, a few of them, not a grey.
TEST_F(PclForms, CrossHatchPatternsDrawTheirLines) {
    const char* expected[6] = {"-", "|", "/", "\\", "-|", "/\\"};
    std::string job = esc("E");
    for (int pattern = 1; pattern <= 6; ++pattern) {
        job += esc("*p" + std::to_string(pattern * 350) + "x300Y") + esc("*c300a300b") +
               esc("*c" + std::to_string(pattern) + "g3P");
    }
    print_job(job + esc("E"));
    const GreyImage page = render_page(pdf(), 1, 300);
    for (int pattern = 1; pattern <= 6; ++pattern) {
        const int left = kBorderDots + pattern * 350;
        const int top = kTopMarginDots + 300;
        EXPECT_EQ(line_directions(page, left, top, 300), expected[pattern - 1]) << pattern;
        const double mean = page.mean(left * 25.4 / 300, top * 25.4 / 300, 25.4, 25.4);
        EXPECT_GT(mean, 255 * 0.6) << pattern;
        EXPECT_LT(mean, 255 * 0.95) << pattern;
        // Nothing spills out of the square.
        EXPECT_GT(page.mean((left - 20) * 25.4 / 300, top * 25.4 / 300, 15 * 25.4 / 300, 25.4), 250)
            << pattern;
    }
}

std::vector<PdfWord> words_of(const std::vector<PdfWord>& words, const std::string& text) {
    std::vector<PdfWord> found;
    std::copy_if(words.begin(), words.end(), std::back_inserter(found),
                 [&text](const PdfWord& w) { return w.text == text; });
    return found;
}

std::string define(int id, const std::string& body) {
    return esc("&f" + std::to_string(id) + "y0X") + body + esc("&f1X");
}

// A macro prints nothing where it is defined, and its body wherever it is
// run: called, the printer's settings come back after it; executed, its
// font stays. A macro that calls itself stops at the nesting bound, and a
// reset deletes the temporary macros but not the permanent ones.
TEST_F(PclForms, MacrosPrintWhereTheyAreRun) {
    const std::string big = esc("(s24V");
    print_job(esc("E") + esc("&l0O") + "Start" + define(5, big + "Mac") + esc("*p300x300Y") +
              esc("&f3X") + " Called" + esc("*p900x600Y") + esc("&f2X") + " Kept" +
              define(6, "Self" + esc("&f3X")) + esc("*p0x900Y") + esc("&f3X") + esc("&f5y10X") +
              esc("E") + esc("*p0x1200Y") + esc("&f5y3X") + esc("&f6y3X") + " End");
    ASSERT_EQ(plan.at("PageCount"), "2"); // the reset ends the first page
    const std::vector<PdfWord> words = pdf_words(pdf());
    const std::vector<PdfWord> mac = words_of(words, "Mac");
    ASSERT_EQ(mac.size(), 3u);
    EXPECT_NEAR(mac[0].x_min, kBorderDots * 0.24 + 72, 0.1);
    EXPECT_NEAR(mac[1].x_min, kBorderDots * 0.24 + 216, 0.1);
    EXPECT_LT(mac[1].y_min, mac[0].y_min + 72 + 1);
    const auto height = [&words](const std::string& text) {
        const std::vector<PdfWord> found = words_of(words, text);
        return found.size() == 1 ? found[0].y_max - found[0].y_min : -1.0;
    };
    EXPECT_NEAR(height("Called"), height("Start"), 0.5);
    EXPECT_NEAR(height("Kept"), 2 * height("Start"), 1);
    // Three deep, then the call is refused; after the reset only the
    // permanent macro 5 is left, run once more before the last word.
    EXPECT_EQ(words_of(words, "SelfSelfSelf").size(), 1u);
    EXPECT_EQ(mac[2].page, 2);
    EXPECT_NEAR(mac[2].y_max, mac[0].y_max - 72 + 288, 0.5);
}

// An overlay prints on every page as the page ends, from the settings a
// reset leaves, whatever the page itself chose.
TEST_F(PclForms, AnOverlayPrintsOnEveryPage) {
    const std::string form = esc("*p600x100Y") + "FORM" + esc("*p0x0Y") + esc("*c2400a6b0P");
    print_job(esc("E") + esc("&l0O") + define(7, form) + esc("&f7y4X") + esc("(s20V") +
              "One\fTwo\fThree" + esc("E"));
    ASSERT_EQ(plan.at("PageCount"), "3");
    const std::vector<PdfWord> forms = words_of(pdf_words(pdf()), "FORM");
    ASSERT_EQ(forms.size(), 3u);
    for (int page = 1; page <= 3; ++page) {
        const PdfWord& word = forms[static_cast<std::size_t>(page - 1)];
        EXPECT_EQ(word.page, page);
        EXPECT_NEAR(word.x_min, (kBorderDots + 600) * 0.24, 0.1);
        EXPECT_LT(word.y_max - word.y_min, 15); // 12 points, not the page's 20
        EXPECT_TRUE(dark_along(render_page(pdf(), page, 150), 20, 13, 180, 13)) << page;
    }
}

// A page whose size or orientation the job changes prints on a sheet of its
// own size in the PDF printer, the page's words where they stand on it; the
// plan says so. A job of one size plans as it always did.
TEST_F(PclForms, PagesOfOtherSizesHaveTheirOwnSheets) {
    print_job(esc("E") + esc("&l26A") + "One" + esc("&l3A") + "Two" + esc("&l26a1O") + "Three" +
              esc("E"));
    EXPECT_EQ(plan.at("PclSheets"), "each page its own size");
    EXPECT_EQ(plan.at("PclPageSize"), "A4");
    const RunResult info = run_program({"pdfinfo", "-f", "1", "-l", "3", pdf()});
    for (const char* size : {"Page    1 size:  595 x 842", "Page    2 size:  612 x 1008",
                             "Page    3 size:  842 x 595"}) {
        EXPECT_NE(info.out.find(size), std::string::npos) << size << "\n" << info.out;
    }
    const std::vector<PdfWord> words = pdf_words(pdf());
    ASSERT_EQ(words.size(), 3u);
    EXPECT_NEAR(words[1].x_min, 75 * 0.24, 0.1); // inch paper's border, at its own size
    EXPECT_NEAR(words[2].x_min, 59 * 0.24, 0.1); // metric paper across
    print_job(esc("E") + esc("&l2A") + "One\fTwo" + esc("E"));
    EXPECT_EQ(plan.count("PclSheets"), 0u);
}

} // namespace
} // namespace kvalon::testing
