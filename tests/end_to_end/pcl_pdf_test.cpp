// PCL jobs, as LaserJet drivers of DOS programs write them, printed by the
// real program into the PDF printer: words stand where the cursor put them,
// pages have the size and orientation the job chose, rectangles and raster
// graphics are dots at their place, and nothing of a command prints.
#include "tests/support/pdf_tools.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace kvalon::testing {
namespace {

// On an A4 page upright the logical page begins 71 dots from the left edge;
// the top margin is half an inch. A dot is 0.24 point.
constexpr double kBorderPoints = 71 * 0.24;
constexpr double kTopMarginPoints = 36;
constexpr double kPointsPerDot = 0.24;
constexpr double kMmPerPoint = 25.4 / 72;
// Our face reaches 615/2048 of its size below the baseline.
constexpr double kDescentShare = 615.0 / 2048;

std::string esc(const std::string& rest) {
    return "\x1b" + rest;
}

class PclPdf : public ::testing::Test {
protected:
    void print_job(const std::string& bytes, const std::vector<std::string>& options = {}) {
        write_bytes(job_path(), bytes);
        std::vector<std::string> plan_args = {kvalon_binary(), "--plan"};
        plan_args.insert(plan_args.end(), options.begin(), options.end());
        plan_args.push_back(job_path());
        const RunResult planned = run_program(plan_args, env());
        ASSERT_EQ(planned.status, 0) << planned.err;
        plan = parse_plan(planned.out);
        std::vector<std::string> print_args = {kvalon_binary()};
        print_args.insert(print_args.end(), options.begin(), options.end());
        print_args.push_back(job_path());
        const RunResult printed = run_program(print_args, env());
        ASSERT_EQ(printed.status, 0) << printed.err;
    }
    std::map<std::string, std::string> env() const {
        return {{"KVALON_PDF", pdf()}, {"HOME", dir.path()}};
    }
    std::string job_path() const { return dir.file("INVOICE.PRN"); }
    std::string pdf() const { return dir.file("out.pdf"); }

    TempDir dir;
    std::map<std::string, std::string> plan;
};

const PdfWord* find_word(const std::vector<PdfWord>& words, const std::string& text) {
    const auto found = std::find_if(words.begin(), words.end(),
                                    [&text](const PdfWord& w) { return w.text == text; });
    return found == words.end() ? nullptr : &*found;
}

// Every way of placing the cursor puts the next word where a LaserJet puts
// it: its left edge at the cursor, its baseline on the cursor's line.
TEST_F(PclPdf, WordsStandWhereTheCursorWasPut) {
    struct Case {
        std::string commands;
        const char* word;
        double x, baseline; // points from the logical page's left edge and the top margin
    };
    const std::vector<Case> cases = {
        {"", "First", 0, 9},                                    // row 0: 3/4 of the VMI down
        {esc("*p300x600Y"), "Dots", 72, 144},                   // 300 dots to the inch
        {esc("&a1440h2160V"), "Decipoints", 144, 216},          // 720 to the inch
        {esc("*p+150x-30Y"), "Relative", 144 + 72 + 36, 208.8}, // from where Decipoints ended
        {esc("&a30r15C"), "RowsColumns", 108, 30.75 * 12},      // 6 lines, 10 columns to the inch
        {esc("&k16H") + esc("&l6C") + esc("&a45r5C"), "Motion", 5 * 9.6, 45.75 * 9},
        {esc("&k12H") + esc("&l8C") + esc("*p0x1800Y") + "\t", "Tab", 8 * 7.2, 432},
        {"\r\n", "Next", 0, 444},
        {esc("&a10L") + "\r\n", "Margin", 72, 456},
        {esc("9") + esc("&k2G") + "\n", "Termination", 0, 468},
        {esc("&f0S") + esc("*p1500x2100Y") + "Away" + esc("&f1S") + " ", "Back", 12 * 7.2, 468},
        {"\r" + esc("&a+2R") + esc("&a+4C"), "Down", 4 * 7.2, 492},
    };
    // A driver's job starts with the reset and a command.
    std::string job = esc("E") + esc("&l26A");
    for (const Case& c : cases) {
        job += c.commands + c.word;
    }
    print_job(job + esc("E"));
    EXPECT_EQ(plan.at("Pcl"), "1 (auto)");
    const std::vector<PdfWord> words = pdf_words(pdf());
    for (const Case& c : cases) {
        const PdfWord* word = find_word(words, c.word);
        ASSERT_NE(word, nullptr) << c.word;
        EXPECT_NEAR(word->x_min, kBorderPoints + c.x, 0.1) << c.word;
        EXPECT_NEAR(word->y_max - 12 * kDescentShare, kTopMarginPoints + c.baseline, 0.1) << c.word;
    }
}

// The page, its orientation and text length as the job sets them: the plan
// names them, the sheet has the size, and the plan-only action answers the
// text length in lines of 6 to the inch.
TEST_F(PclPdf, PagesHaveTheSizeAndTextLengthTheJobSets) {
    struct Case {
        const char* name;
        std::string job;
        const char* size;
        const char* orientation;
        const char* lines;
        const char* pages;
        const char* sheet; // pdfinfo's page size
    };
    const std::string lines7 = "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7";
    const std::vector<Case> cases = {
        {"default", esc("E") + esc("&l0O") + "Text" + esc("E"), "A4", "P", "64", "1", "595 x 842"},
        {"letter, two pages", esc("E") + esc("&l2A") + "One\fTwo" + esc("E"), "Letter", "P", "60",
         "2", "612 x 792"},
        {"landscape", esc("E") + esc("&l1O") + "Across", "A4", "L", "43", "1", "842 x 595"},
        {"text length at 8 lpi", esc("E") + esc("&l8D") + esc("&l80F") + "Long", "A4", "P", "60",
         "1", "595 x 842"},
        {"PJL, legal",
         esc("%-12345X") + "@PJL JOB\r\n@PJL ENTER LANGUAGE = PCL\r\n" + esc("E") + esc("&l3A") +
             "Legal" + esc("%-12345X"),
         "Legal", "P", "78", "1", "612 x 1008"},
        {"text length ends pages", esc("E") + esc("&l3F") + lines7, "A4", "P", "3", "3",
         "595 x 842"},
        {"no perforation skip", esc("E") + esc("&l0L") + esc("&l3F") + lines7, "A4", "P", "3", "1",
         "595 x 842"},
    };
    for (const Case& c : cases) {
        print_job(c.job);
        EXPECT_EQ(plan.at("PclPageSize"), c.size) << c.name;
        EXPECT_EQ(plan.at("Orientation"), c.orientation) << c.name;
        EXPECT_EQ(plan.at("LinesPerPage"), c.lines) << c.name;
        EXPECT_EQ(plan.at("PageCount"), c.pages) << c.name;
        EXPECT_EQ(pdf_pages(pdf()), std::stoi(c.pages)) << c.name;
        EXPECT_NE(pdf_info(pdf()).at("Page size").find(c.sheet), std::string::npos) << c.name;
        const RunResult answered = run_program({kvalon_binary(), job_path() + ",1"}, env());
        EXPECT_EQ(answered.status, 0) << c.name << answered.err;
        EXPECT_EQ(read_bytes(dir.file("TMPPRNT1.TMP")), std::string(c.lines) + "\r\n") << c.name;
    }
}

// A picture of 64 x 16 dots: stripes, runs and single dots, and two blank
// rows that a y offset can skip.
std::vector<std::string> picture() {
    std::vector<std::string> rows;
    for (int r = 0; r < 16; ++r) {
        std::string row(8, '\0');
        for (int i = 0; i < 8; ++i) {
            const int value = r < 4 ? 0xFF >> r : r < 6 ? 0 : (r * 37 + i * 11) % 256;
            row[static_cast<std::size_t>(i)] = static_cast<char>(i == 3 && r > 8 ? 0xAA : value);
        }
        rows.push_back(row);
    }
    return rows;
}

std::string run_length(const std::string& row) {
    std::string out;
    for (std::size_t i = 0; i < row.size();) {
        std::size_t n = 1;
        while (i + n < row.size() && row[i + n] == row[i]) {
            ++n;
        }
        out += static_cast<char>(n - 1);
        out += row[i];
        i += n;
    }
    return out;
}

// Runs of two or more as repeats, everything else as literals.
std::string pack_bits(const std::string& row) {
    std::string out;
    for (std::size_t i = 0; i < row.size();) {
        std::size_t n = 1;
        while (i + n < row.size() && row[i + n] == row[i]) {
            ++n;
        }
        if (n > 1) {
            out += static_cast<char>(static_cast<unsigned char>(257 - n));
            out += row[i];
        } else {
            out += '\0';
            out += row[i];
        }
        i += n;
    }
    return out;
}

// Each changed byte replaced alone, its offset from the last one replaced.
std::string delta(const std::string& row, const std::string& seed) {
    std::string out;
    std::size_t last = 0;
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (row[i] != seed[i]) {
            out += static_cast<char>(i - last);
            out += row[i];
            last = i + 1;
        }
    }
    return out;
}

std::string raster_job(int mode, bool skip_blank_rows) {
    const std::vector<std::string> rows = picture();
    std::string job = esc("E") + esc("*t75R") + esc("*p300x300Y") + esc("*r1A") +
                      esc("*b" + std::to_string(mode) + "M");
    std::string seed(8, '\0');
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (skip_blank_rows && (r == 4 || r == 5)) {
            job += r == 4 ? esc("*b2Y") : "";
            seed.assign(8, '\0');
            continue;
        }
        const std::string data = mode == 1   ? run_length(rows[r])
                                 : mode == 2 ? pack_bits(rows[r])
                                 : mode == 3 ? delta(rows[r], seed)
                                             : rows[r];
        job += esc("*b" + std::to_string(data.size()) + "W") + data;
        seed = rows[r];
    }
    return job + esc("*rB") + esc("E");
}

// Every compression mode draws the picture sent unencoded: each dot, 1/75
// inch square, black or white where the picture has it.
TEST_F(PclPdf, RasterGraphicsInEveryCompressionModeDrawTheSamePicture) {
    struct Case {
        const char* name;
        int mode;
        bool skip;
    };
    const std::vector<std::string> rows = picture();
    for (const Case& c : {Case{"unencoded", 0, false}, Case{"run-length", 1, false},
                          Case{"TIFF", 2, false}, Case{"delta row", 3, false},
                          Case{"y offset", 0, true}, Case{"delta row after offset", 3, true}}) {
        print_job(raster_job(c.mode, c.skip));
        const GreyImage page = render_page(pdf(), 1, 300);
        int wrong = 0;
        for (int r = 0; r < 16; ++r) {
            for (int col = 0; col < 64; ++col) {
                const auto byte = static_cast<unsigned char>(
                    rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(col / 8)]);
                const bool black = (byte & (0x80 >> (col % 8))) != 0;
                const double x = (kBorderPoints + 72 + (col + 0.5) * 0.96) * kMmPerPoint;
                const double y = (kTopMarginPoints + 72 + (r + 0.5) * 0.96) * kMmPerPoint;
                const int grey = page.at(page.px(x), page.px(y));
                wrong += black != (grey < 128) ? 1 : 0;
            }
        }
        EXPECT_EQ(wrong, 0) << c.name;
    }
}

// Rectangles in dots and decipoints: solid, shaded, erased, and an underline
// under a word.
TEST_F(PclPdf, RectanglesFillTheirPlace) {
    print_job(esc("E") + esc("*p300x300Y") + esc("*c600a300b0P") + esc("*p450x375Y") +
              esc("*c150a150b1P") + esc("*p300x900Y") + esc("*c720h360V") + esc("*c25g2P") +
              esc("*p300x1500Y") + esc("&d0D") + "Under" + esc("&d@"));
    const GreyImage page = render_page(pdf(), 1, 300);
    const auto mm_x = [](double dots) {
        return (kBorderPoints + dots * kPointsPerDot) * kMmPerPoint;
    };
    const auto mm_y = [](double dots) {
        return (kTopMarginPoints + dots * kPointsPerDot) * kMmPerPoint;
    };
    const double dot_mm = kPointsPerDot * kMmPerPoint;
    // The black rectangle, the white one erased inside it, the paper around.
    EXPECT_LT(page.mean(mm_x(310), mm_y(310), 130 * dot_mm, 50 * dot_mm), 10);
    EXPECT_GT(page.mean(mm_x(460), mm_y(385), 130 * dot_mm, 130 * dot_mm), 245);
    EXPECT_GT(page.mean(mm_x(310), mm_y(620), 580 * dot_mm, 200 * dot_mm), 250);
    // A 25 % shade prints as the printer's 30 % level: 1 inch by half an inch.
    EXPECT_NEAR(page.mean(mm_x(310), mm_y(910), 280 * dot_mm, 130 * dot_mm), 255 * 0.7, 15);
    EXPECT_GT(page.mean(mm_x(310), mm_y(1060), 280 * dot_mm, 20 * dot_mm), 250);
    // Under the baseline of the underlined word, five words' widths long.
    EXPECT_TRUE(dark_along(page, mm_x(305), mm_y(1506), mm_x(440), mm_y(1506)));
}

// Fonts by pitch and height, symbol sets, and the report's own code page
// when the job chooses none.
TEST_F(PclPdf, FontsAndSymbolSetsPrintTheirLetters) {
    print_job(esc("E") + esc("(s0B") + "\x80\x81 " + esc("(9R") + "\xC2\xC3 " + esc("(8U") +
              "\xC5 " + esc("(10U") + "\x82\r\n" + esc("(0N") + esc("(s16.67h8.5V") + "Small" +
              esc("(s1p20V") + " Wide");
    const std::vector<PdfWord> words = pdf_words(pdf());
    for (const char* text : {"АБ", "ВГ", "é", "é", "Small", "Wide"}) {
        EXPECT_NE(find_word(words, text), nullptr) << text;
    }
    const PdfWord* small = find_word(words, "Small");
    ASSERT_NE(small, nullptr);
    EXPECT_NEAR(small->x_max - small->x_min, 5 * 72 / 16.67, 0.2);
    // A proportional font prints at the pitch its height gives our face: 20
    // points, 6 characters to the inch.
    const PdfWord* wide = find_word(words, "Wide");
    ASSERT_NE(wide, nullptr);
    EXPECT_NEAR(wide->x_max - wide->x_min, 4 * 12, 0.3);
    EXPECT_NEAR(wide->x_min, small->x_max + 12, 0.3);
}

// PJL, HP-GL/2, downloaded fonts, macros and commands the program does not
// follow are read past by their syntax: none of their bytes print.
TEST_F(PclPdf, NothingOfACommandPrints) {
    print_job(esc("%-12345X") + "@PJL SET COPIES=1\r\n@PJL ENTER LANGUAGE=PCL\r\n" + esc("E") +
              esc(")s20W") +
              "FONTDATA\x1b"
              "EFONTDATA\r\n" +
              esc("&f1y2X") + esc("%0B") + "IN;SP1;LBHIDDEN\x03;" + esc("%0A") + esc("&z5.5Q") +
              esc("*v6W") + "\x1b&a0R." + esc("(s0p10.00h12.0v0s0b3T") + "Visible" + esc("E") +
              esc("%-12345X") + "@PJL EOJ\r\n");
    EXPECT_EQ(pdf_lines(pdf()), std::vector<std::string>{"Visible"});
}

// --pcl reads a job that lacks the job start; without it such a file stays a
// text report.
TEST_F(PclPdf, PclForcedReadsAJobWithoutItsStart) {
    const std::string job = "Left" + esc("*p600x600Y") + "Moved";
    print_job(job, {"--pcl"});
    EXPECT_EQ(plan.at("Pcl"), "1");
    const std::vector<PdfWord> words = pdf_words(pdf());
    const PdfWord* moved = find_word(words, "Moved");
    ASSERT_NE(moved, nullptr);
    EXPECT_NEAR(moved->x_min, kBorderPoints + 144, 0.1);
    print_job(job);
    EXPECT_EQ(plan.count("Pcl"), 0u);
}

} // namespace
} // namespace kvalon::testing
