// Reports in the ESC/P mode printed by the real program into the PDF printer:
// letters and dots land where the printer would have put them, scaled as the
// plan says.
#include "tests/support/pdf_tools.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace kvalon::testing {
namespace {

constexpr double kPointsPerMm = 72 / 25.4;
constexpr double kUnitsPerInch = 3600;

std::string esc(const std::string& rest) {
    return "\x1b" + rest;
}

std::string word_bytes(unsigned value) {
    return std::string{static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}

class EscpPdf : public ::testing::Test {
protected:
    void print_report(const std::string& bytes,
                      const std::vector<std::string>& options = {"--escp"},
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
    }

    std::string pdf() const { return dir.file("out.pdf"); }
    // Millimetres on the sheet of a place on the printer's page.
    double x_mm(double units) const {
        return std::stod(plan.at("LeftMm")) +
               units / kUnitsPerInch * 25.4 * std::stod(plan.at("Scale"));
    }
    double y_mm(double units) const {
        return std::stod(plan.at("TopMm")) +
               units / kUnitsPerInch * 25.4 * std::stod(plan.at("Scale"));
    }

    TempDir dir;
    std::map<std::string, std::string> plan;
};

// Tabs, margins, moves, pitches and line spacing put each word in its place;
// the words are text in the PDF, and no sequence's letters show.
TEST_F(EscpPdf, WordsStandWhereThePrinterPutThem) {
    print_report(esc("@") + "ab\tc" + esc("$") + word_bytes(300) + "d\r\n" + esc("3") + "\x48" +
                 esc("l") + "\x05" + to_mik("Склад") + "\r\n" + esc("M") + "ef" + esc("g") + "gh" +
                 "\x0f" + "ij\x12" + esc("\\") + word_bytes(180) + "k\r\n" + esc("W1") + "lm\r\n");
    EXPECT_EQ(plan.at("Escp"), "1");
    EXPECT_EQ(plan.at("PageCount"), "1");
    struct Expected {
        const char* text;
        double x, y; // printer units
    };
    const std::vector<PdfWord> words = pdf_words(pdf());
    for (const Expected& e : {Expected{"ab", 0, 0}, Expected{"c", 2880, 0}, Expected{"d", 18000, 0},
                              Expected{"Склад", 1800, 600}, Expected{"efghij", 1800, 2040},
                              Expected{"k", 6960, 2040}, Expected{"lm", 1800, 3480}}) {
        const auto found = std::find_if(words.begin(), words.end(),
                                        [&e](const PdfWord& w) { return w.text == e.text; });
        ASSERT_NE(found, words.end()) << e.text;
        EXPECT_NEAR(found->x_min, x_mm(e.x) * kPointsPerMm, 0.6) << e.text;
        EXPECT_NEAR(found->y_min, y_mm(e.y) * kPointsPerMm, 2) << e.text;
    }
    for (const PdfWord& w : words) {
        for (const char* stray : {"@", "$", "l", "W1", "M"}) {
            EXPECT_NE(w.text, stray);
        }
    }
}

struct Band {
    const char* name;
    std::string head; // the command up to its data
    int columns;      // per block of dots
    double column_pitch;
    double row_pitch;
    int rows;
    std::string (*data)(int blocks, int columns, int rows);
};

// Column data: blocks of `columns` columns, every dot of the even blocks set.
std::string column_data(int blocks, int columns, int rows) {
    std::string data;
    for (int block = 0; block < blocks; ++block) {
        const bool set = block % 2 == 0;
        for (int column = 0; column < columns; ++column) {
            for (int byte = 0; byte < rows / 8; ++byte) {
                data += set ? '\xFF' : '\0';
            }
        }
    }
    return data;
}

// ESC ^: the second byte of a column holds the ninth dot.
std::string nine_dot_data(int blocks, int columns, int) {
    std::string data;
    for (int block = 0; block < blocks; ++block) {
        for (int column = 0; column < columns; ++column) {
            data += block % 2 == 0 ? std::string("\xFF\x80", 2) : std::string(2, '\0');
        }
    }
    return data;
}

// Raster rows, run-length packed: each block of 16 dots is two equal bytes.
std::string packed_rows(int blocks, int, int rows) {
    std::string data;
    for (int row = 0; row < rows; ++row) {
        for (int block = 0; block < blocks; ++block) {
            data += '\xFF'; // two of the next byte
            data += block % 2 == 0 ? '\xFF' : '\0';
        }
    }
    return data;
}

std::string plain_rows(int blocks, int, int rows) {
    std::string data;
    for (int row = 0; row < rows; ++row) {
        for (int block = 0; block < blocks; ++block) {
            data += block % 2 == 0 ? std::string(2, '\xFF') : std::string(2, '\0');
        }
    }
    return data;
}

// Pictures of every kind, one under the other: blocks of 16 columns, the even
// ones black. In the rendered page each block is dark or light at its centre
// as its dots say, at the density's scale.
TEST_F(EscpPdf, DotsStandAtTheirDensity) {
    constexpr int kBlocks = 8;
    constexpr int kColumns = 16;
    constexpr double kLine = 1200; // ESC 3 60: a third of an inch between bands
    const int cols = kBlocks * kColumns;
    const std::vector<Band> bands = {
        {"ESC K", esc("K") + word_bytes(cols), kColumns, 60, 60, 8, column_data},
        {"ESC L", esc("L") + word_bytes(cols), kColumns, 30, 60, 8, column_data},
        {"ESC Y", esc("Y") + word_bytes(cols), kColumns, 30, 60, 8, column_data},
        {"ESC Z", esc("Z") + word_bytes(cols), kColumns, 15, 60, 8, column_data},
        {"ESC * 4", esc("*\x04") + word_bytes(cols), kColumns, 45, 60, 8, column_data},
        {"ESC * 39", esc("*\x27") + word_bytes(cols), kColumns, 20, 20, 24, column_data},
        {"ESC * 40", esc("*\x28") + word_bytes(cols), kColumns, 10, 20, 24, column_data},
        {"ESC * 72", esc("*\x48") + word_bytes(cols), kColumns, 10, 10, 48, column_data},
        {"ESC ^", esc(std::string("^\0", 2)) + word_bytes(cols), kColumns, 60, 50, 9,
         nine_dot_data},
        {"ESC . 1", esc(".\x01\x0a\x0a\x18") + word_bytes(cols), kColumns, 10, 10, 24, packed_rows},
        {"ESC . 0", esc(std::string(".\0\x05\x05\x18", 5)) + word_bytes(cols), kColumns, 5, 5, 24,
         plain_rows},
    };
    std::string report = esc("@") + esc("3") + "\x3c";
    for (const Band& band : bands) {
        report += band.head + band.data(kBlocks, kColumns, band.rows) + "\r\n";
    }
    // The last picture is cut by the file's end after ten columns.
    report += esc("K") + word_bytes(cols) + std::string(10, '\xFF');
    print_report(report);
    EXPECT_EQ(plan.at("PageCount"), "1");
    const GreyImage page = render_page(pdf(), 1, 400);
    for (std::size_t i = 0; i < bands.size(); ++i) {
        const Band& band = bands[i];
        const double middle = static_cast<double>(i) * kLine + band.rows * band.row_pitch / 2;
        for (int block = 0; block < kBlocks; ++block) {
            const double centre = (block * kColumns + kColumns / 2.0) * band.column_pitch;
            const int darkest = page.darkest_near(x_mm(centre), y_mm(middle), 1);
            if (block % 2 == 0) {
                EXPECT_LT(darkest, 64) << band.name << " block " << block;
            } else {
                EXPECT_GT(darkest, 192) << band.name << " block " << block;
            }
        }
    }
    const double cut_middle = static_cast<double>(bands.size()) * kLine + 240;
    EXPECT_LT(page.darkest_near(x_mm(5 * 60), y_mm(cut_middle), 1), 64);
    EXPECT_GT(page.darkest_near(x_mm(14 * 60), y_mm(cut_middle), 1), 192);
}

// A picture's data may hold CR, LF, FF and the end mark: all of it is dots.
TEST_F(EscpPdf, ControlBytesInAPictureAreDots) {
    print_report(esc("K") + word_bytes(4) + "\r\x0c\n\x1a" + "after\r\n");
    EXPECT_EQ(plan.at("PageCount"), "1");
    const std::vector<PdfWord> words = pdf_words(pdf());
    ASSERT_EQ(words.size(), 1u);
    EXPECT_EQ(words[0].text, "after");
    EXPECT_NEAR(words[0].x_min, x_mm(240) * kPointsPerMm, 0.6);
}

// A page that holds more than any printed page (lines ended by carriage
// returns alone all print on one place) is the job's fault, told before
// anything prints, whatever the memory it would have taken.
TEST_F(EscpPdf, APageFullerThanAnySheetIsRefusedBeforePrinting) {
    std::string overprinted;
    for (int i = 0; i < 30'000; ++i) {
        overprinted += "ABCDEFGHIJ\r";
    }
    const std::string band = esc("K") + word_bytes(480) + std::string(480, '\x55');
    std::string pictures;
    while (pictures.size() <= (std::size_t{17} << 20)) {
        pictures += band + "\r";
    }
    const std::pair<std::string, std::string> cases[] = {
        {overprinted, "над 250000 знака на една страница"},
        {pictures, "над 16777216 байта на една страница"},
    };
    for (const auto& [bytes, reason] : cases) {
        write_bytes(dir.file("FULL.TXT"), bytes);
        for (const bool plan_only : {true, false}) {
            std::vector<std::string> args = {kvalon_binary(), "--escp", dir.file("FULL.TXT")};
            if (plan_only) {
                args.insert(args.begin() + 1, "--plan");
            }
            const RunResult result =
                run_program(args, {{"KVALON_PDF", pdf()}, {"HOME", dir.path()}});
            EXPECT_EQ(result.status, 5) << reason;
            EXPECT_NE(result.err.find("Страница с повече печат, отколкото побира лист, във файл " +
                                      dir.file("FULL.TXT") + " (" + reason + ")"),
                      std::string::npos)
                << result.err;
            EXPECT_FALSE(std::filesystem::exists(pdf()));
        }
    }
}

// ESC l starts the line afresh at the new margin, to the left of the old one
// too: what the line held before it never prints and makes no page wider.
TEST_F(EscpPdf, AMarginSetOnALineStartsItAfresh) {
    print_report(esc("l(") + "W0001\r\n" + esc("l\x05") + "W0002\r\nW0003\r\n" + esc("l\x0a") +
                 std::string(60, 'X') + esc("l") + std::string(1, '\0') + "W0004\r\n");
    EXPECT_EQ(plan.at("PrintedWidth"), "4.5000");
    // The 4.5-inch page centred across A4 (11906 twips) inside its 10 mm margins.
    const double scale = std::stod(plan.at("Scale"));
    EXPECT_NEAR(std::stod(plan.at("LeftMm")), 10 + (190 - 4.5 * 25.4 * scale) / 2, 0.01);
    std::map<std::string, double> left;
    for (const PdfWord& w : pdf_words(pdf())) {
        left[w.text] = w.x_min;
    }
    ASSERT_EQ(left.size(), 4u) << "the line of X is dropped";
    for (const auto& [word, x] :
         {std::pair{"W0001", 14400.0}, {"W0002", 1800.0}, {"W0003", 1800.0}, {"W0004", 0.0}}) {
        EXPECT_NEAR(left.at(word), x_mm(x) * kPointsPerMm, 0.6) << word;
    }
}

// A frame of 12.5 inches of 24-dot picture bands, 4 inches wide: its sides
// in every band, its top in the first rows, its bottom in the last; a line
// of text under it, then a form feed.
constexpr int kFrameBands = 94;
constexpr int kFrameColumns = 720;  // 180 to the inch
constexpr double kBandHeight = 480; // ESC 3 24

std::string tall_frame() {
    std::string report = esc("@") + esc("3\x18");
    for (int band = 0; band < kFrameBands; ++band) {
        report += esc("*\x27") + word_bytes(kFrameColumns);
        for (int column = 0; column < kFrameColumns; ++column) {
            const bool side = column < 8 || column >= kFrameColumns - 8;
            report += side || band == 0 ? '\xFF' : '\0';
            report += side ? '\xFF' : '\0';
            report += side || band == kFrameBands - 1 ? '\xFF' : '\0';
        }
        report += "\r\n";
    }
    return report + esc("2") + "UNDER\r\n\f";
}

// A page taller than the printer's form is cut at the form as the printer
// cuts it, on A3 too; asked to fit one report page per sheet, it is one
// sheet holding all of it, its last rows and the line under them included.
TEST_F(EscpPdf, APageTallerThanTheFormIsOneSheetWhenAskedToFit) {
    const std::string report = tall_frame();
    struct Way {
        std::vector<std::string> options;
        int sheets;
    };
    for (const Way& way :
         {Way{{"--escp"}, 2}, Way{{"--escp", "--paper", "8"}, 2}, Way{{"--escp", "--fit-pages"}, 1},
          Way{{"--escp", "--fit-pages", "--paper", "8"}, 1}}) {
        print_report(report, way.options);
        const std::string name = way.options.back();
        ASSERT_EQ(pdf_pages(pdf()), way.sheets) << name;
        const std::vector<PdfWord> words = pdf_words(pdf());
        ASSERT_EQ(words.size(), 1u) << name;
        EXPECT_EQ(words[0].page, way.sheets) << name;
        if (way.sheets > 1) {
            continue;
        }
        EXPECT_EQ(plan.at("FormLength"), "12.7000") << name;
        const double sheet_height = std::stod(plan.at("PaperHeightMm"));
        EXPECT_LE(y_mm(kFrameBands * kBandHeight + 600), sheet_height - 9.9) << name;
        EXPECT_NEAR(words[0].y_min, y_mm(kFrameBands * kBandHeight) * kPointsPerMm, 2) << name;
        const GreyImage page = render_page(pdf(), 1, 150);
        const double right = x_mm(kFrameColumns * 20) - 1;
        for (const double row : {80.0, (kFrameBands - 1) * kBandHeight + 400}) {
            EXPECT_TRUE(dark_along(page, x_mm(0) + 1, y_mm(row), right, y_mm(row)))
                << name << " at " << row;
        }
        EXPECT_TRUE(
            dark_along(page, x_mm(80), y_mm(0) + 1, x_mm(80), y_mm(kFrameBands * kBandHeight) - 1))
            << name;
    }
}

TEST_F(EscpPdf, TheModeIsOffUnlessAskedFor) {
    print_report(esc("E") + "bold" + esc("F") + "\r\n", {}, {{"KVALON_ESCP", "0"}});
    EXPECT_EQ(plan.count("Escp"), 0u);
    const RunResult refused = run_program({kvalon_binary(), "--plan", dir.file("REPORT.TXT")},
                                          {{"KVALON_ESCP", "yes"}, {"KVALON_PDF", pdf()}});
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("KVALON_ESCP=yes"), std::string::npos) << refused.err;
}

} // namespace
} // namespace kvalon::testing
