// PCL forms as drivers draw them, printed by the real program into the PDF
// printer: cross-hatched boxes show their lines, macros print where they are
// run and overlays on every page.
#include "tests/support/pdf_tools.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace kvalon::testing
