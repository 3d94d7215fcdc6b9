#include "engine/error.h"
#include "engine/plan_layout.h"
#include "engine/print_job.h"
#include "engine/source_file.h"
#include "engine/units.h"
#include "tests/support/recording_surface.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <string>

namespace kvalon {
namespace {

using testing::RecordingSurface;
using testing::TempDir;

class PlanLayout : public ::testing::Test {
protected:
    void SetUp() override {
        reset_job();
        job().FontFace = "CourierCyr";
        job().ParamList = {"", "0", "8", ""};
        set_printer(&surface);
    }
    void TearDown() override {
        set_printer(nullptr);
        reset_job();
    }

    void plan(const std::string& bytes) {
        testing::write_bytes(dir.file("report.txt"), bytes);
        job().SourcePath = dir.file("report.txt");
        plan_layout();
    }

    static std::string line_of(std::size_t length, char c = 'x') {
        return std::string(length, c) + "\r\n";
    }

    TempDir dir;
    RecordingSurface surface;
};

TEST_F(PlanLayout, CountsLinesAndSkipsLoneFormFeeds) {
    plan("abc\r\n\f\r\nde\f\r\n\r\nlast");
    EXPECT_EQ(job().LineCount, 4); // the lone form feed is not a line
    EXPECT_EQ(job().LongestLine, 5);
    EXPECT_TRUE(source_file().is_open());
    EXPECT_EQ(job().PageNumber, 0);
    EXPECT_FALSE(job().SourceDone);
    EXPECT_TRUE(job().PageText.empty());
}

TEST_F(PlanLayout, LineEndsAtCrOrCrLfButALoneLineFeedIsACharacter) {
    plan("ab\ncd\rxy\r\nz");
    EXPECT_EQ(job().LineCount, 3);
    EXPECT_EQ(job().LongestLine, 7); // "ab\ncd" has five characters
}

TEST_F(PlanLayout, DosEndOfFileMarkEndsTheText) {
    plan("short\r\n\x1a" + std::string(500, 'x') + "\r\nmore\r\n");
    EXPECT_EQ(job().LineCount, 1);
    EXPECT_EQ(job().LongestLine, 7);
}

TEST_F(PlanLayout, BoldMarkersAreCountedByTheSearchRule) {
    struct Case {
        const char* name;
        std::string source;
        int longest;
    };
    const Case cases[] = {
        {"a shorter measure replaces a longer one",
         line_of(10) + std::string(6, '\x02') + std::string(7, 'y') + "\r\n", 9},
        {"an equal or shorter line is not measured", line_of(10) + line_of(11), 12},
        {"it rises again", line_of(10) + std::string(6, '\x02') + "yyyyyyy\r\n" + line_of(10), 12},
        {"a lone marker in a one-character line is not counted", "\x02\r\n", 3},
        {"the second of two closing markers is not counted", "ab\x02\x02\r\n", 5},
        {"a closing marker after a letter is counted", "abc\x02\r\n", 5},
        {"three markers", "\x02\x02\x02\r\n", 3},
    };
    for (const Case& c : cases) {
        plan(c.source);
        EXPECT_EQ(job().LongestLine, c.longest) << c.name;
    }
}

TEST_F(PlanLayout, FormFeedWithOtherCharactersIsAnOrdinaryLine) {
    plan("\f\f\r\nab\fcd\r\n");
    EXPECT_EQ(job().LineCount, 2);
    EXPECT_EQ(job().LongestLine, 7);
}

TEST_F(PlanLayout, EmptySourceGetsTheLargestPortraitSize) {
    for (const std::string& source : {std::string(), std::string("\f\r\n\f\r\n")}) {
        plan(source);
        EXPECT_EQ(job().LineCount, 0);
        EXPECT_EQ(job().LongestLine, 0);
        EXPECT_EQ(job().FontSize, 13);
        EXPECT_EQ(job().Orientation, "P");
        EXPECT_EQ(job().PageCount, 0);
    }
    plan("");
    EXPECT_TRUE(source_file().at_end()); // the menu window reports such a file as empty
}

// With cells 0.6 of the size wide: 1.69 mm at 8 points, A4 leaves 180 mm in
// portrait and 267 mm in landscape for the measuring line.
TEST_F(PlanLayout, ChoosesTheLargestSizeThatFits) {
    struct Case {
        const char* name;
        std::size_t length;
        const char* start_word;
        int size;
        const char* orientation;
    };
    const Case cases[] = {
        {"130 characters go landscape at 9", 130, "8", 9, "L"},
        {"fits portrait at 8 only", 104, "8", 8, "P"},
        {"fits portrait only at 6 or 7: landscape", 130, "8", 9, "L"},
        {"short line: 13", 20, "8", 13, "P"},
        {"start at 10: 8 would fit portrait, 10 does not", 104, "10", 11, "L"},
        {"start at 6", 130, "6", 6, "P"},
        {"a word outside the list starts at 8 (5)", 130, "5", 9, "L"},
        {"a word outside the list starts at 8 (14)", 130, "14", 9, "L"},
        {"a word outside the list starts at 8 (blank before)", 130, " 8", 9, "L"},
        {"nothing fits: 6 points landscape", 400, "8", 6, "L"},
    };
    for (const Case& c : cases) {
        job().ParamList = {"", "0", c.start_word, ""};
        plan(line_of(c.length));
        EXPECT_EQ(job().FontSize, c.size) << c.name;
        EXPECT_EQ(job().Orientation, c.orientation) << c.name;
        EXPECT_EQ(surface.orientation(), std::string(c.orientation) == "L" ? 2 : 1) << c.name;
        EXPECT_FLOAT_EQ(surface.font_size(), static_cast<float>(c.size)) << c.name;
    }
}

TEST_F(PlanLayout, TooLongLinesAreCutToTheCharactersPerLine) {
    plan(line_of(400));
    EXPECT_EQ(job().FontSize, 6);
    EXPECT_LT(job().CharsPerLine, 400);
    EXPECT_EQ(job().LeftIndent, 8); // nothing to centre, only the allowance
}

TEST_F(PlanLayout, NamesAndReplacesThePaper) {
    struct Case {
        int code;
        const char* name;
        int code_after;
    };
    const Case cases[] = {
        {1, "A4, 210 x 297 mm ", 9},
        {2, "A4, 210 x 297 mm ", 9},
        {5, "A4, 210 x 297 mm ", 9},
        {14, "A4, 210 x 297 mm ", 9},
        {15, "A4, 210 x 297 mm ", 9},
        {9, "A4, 210 x 297 mm ", 9},
        {8, "A3, 297 x 420 mm ", 8},
        {28, "Неизвестен тип 28", 28},
        {31, "Envelope C5, 162 x 229 mm ", 31},
        {256, "User-defined", 256},
        {42, "Неизвестен", 42},
        {0, "Неизвестен", 0},
    };
    for (const Case& c : cases) {
        surface.paper_code = c.code;
        plan(line_of(10));
        EXPECT_EQ(job().PaperName, c.name) << c.code;
        EXPECT_EQ(surface.paper_code, c.code_after) << c.code;
    }
}

TEST_F(PlanLayout, LetterIsPrintedOnA4) {
    surface.set_paper_size(1);
    plan(line_of(10));
    EXPECT_EQ(job().PaperWidthMm, 210);
    EXPECT_EQ(job().PaperHeightMm, 297);
}

TEST_F(PlanLayout, ComputesTheGrid) {
    plan(line_of(70));
    // 72 cells at 11 points are 167.6 mm, at 12 points 182.9 mm.
    EXPECT_EQ(job().FontSize, 11);
    EXPECT_EQ(job().CharsPerLine, 81);  // 83 cells of 2.328 mm fit in 195 mm
    EXPECT_EQ(job().LeftIndent, 4 + 3); // centring 4, allowance 3
    EXPECT_NEAR(job().CharWidth, 11906.0 / (81 + 2 + 6) / TwipsPerMm, 1e-5);
    EXPECT_NEAR(job().LineHeight, 1.1328125 * 11 * 25.4 / 72, 1e-4);
    EXPECT_EQ(job().LinesPerPage, 58); // 60 lines of 4.396 mm fit in 267 mm
    EXPECT_EQ(job().PageCount, 1);
}

TEST_F(PlanLayout, CellsOfShortReportsStayAsWideAsTheLetters) {
    for (const std::size_t length : {1u, 15u, 60u, 100u, 130u, 200u}) {
        plan(line_of(length));
        const float letter = surface.text_width("Щ");
        EXPECT_GE(job().CharWidth, letter * 0.97f) << length;
        // The longest line sits about the middle of the sheet.
        const double text_start = job().LeftIndent * job().CharWidth;
        const double text_end = text_start + (job().LongestLine - 2) * job().CharWidth;
        const double sheet = surface.width_twips() / TwipsPerMm;
        if (static_cast<int>(length) < job().CharsPerLine) {
            EXPECT_NEAR(text_start, sheet - text_end, 6 * job().CharWidth) << length;
        }
    }
}

TEST_F(PlanLayout, PageCountIsTheCeiling) {
    surface.line_em = 0.93; // 60 lines a page at 13 points on A4
    for (const auto& [lines, pages] : {std::pair{100, 2}, {120, 2}, {121, 3}, {1, 1}}) {
        std::string source;
        for (int i = 0; i < lines; ++i) {
            source += line_of(5);
        }
        plan(source);
        EXPECT_EQ(job().LinesPerPage, 60);
        EXPECT_EQ(job().PageCount, pages) << lines;
    }
}

TEST_F(PlanLayout, TallPaperStopsAt298Lines) {
    surface.paper_height_twips = 16838 * 10;
    plan(line_of(10));
    EXPECT_EQ(job().LinesPerPage, 298);
}

TEST_F(PlanLayout, ALineLongerThan32765CharactersIsRefused) {
    plan(line_of(32765));
    EXPECT_EQ(job().LongestLine, 32767);
    try {
        plan(line_of(32766));
        FAIL() << "no overflow";
    } catch (const KvalonError& error) {
        EXPECT_EQ(error.kind(), ErrorKind::LineTooLong);
        EXPECT_EQ(error.path(), dir.file("report.txt"));
    }
    EXPECT_FALSE(source_file().is_open());
}

TEST_F(PlanLayout, PaperTooSmallForALineOrACharacterIsRefused) {
    for (const auto& [width, height] : {std::pair{11906.0, 1900.0}, {1000.0, 16838.0}}) {
        surface.paper_width_twips = width;
        surface.paper_height_twips = height;
        try {
            plan(line_of(3));
            FAIL() << width << "x" << height;
        } catch (const KvalonError& error) {
            EXPECT_EQ(error.kind(), ErrorKind::Layout);
        }
    }
}

TEST_F(PlanLayout, AMissingSourceIsAFileError) {
    job().SourcePath = dir.file("gone.txt");
    try {
        plan_layout();
        FAIL();
    } catch (const KvalonError& error) {
        EXPECT_EQ(error.kind(), ErrorKind::File);
    }
}

TEST_F(PlanLayout, ASecondPlanStartsFromACleanJob) {
    plan(line_of(130) + line_of(5) + line_of(5));
    job().PageNumber = 4;
    job().PageText = "old page";
    job().PrintText = "old print";
    job().SourceDone = true;
    plan(line_of(8));
    EXPECT_EQ(job().LineCount, 1);
    EXPECT_EQ(job().LongestLine, 10);
    EXPECT_EQ(job().FontSize, 13);
    EXPECT_EQ(job().PageNumber, 0);
    EXPECT_TRUE(job().PageText.empty());
    EXPECT_FALSE(job().SourceDone);
    EXPECT_EQ(job().PrintText, "old print");
    EXPECT_EQ(job().SkipChar, "\x02");
}

TEST_F(PlanLayout, SetsThePrinterUp) {
    plan(line_of(10));
    EXPECT_EQ(surface.scale_mode, PrinterSurface::kScaleMillimetres);
    EXPECT_EQ(surface.font_name, "CourierCyr");
}

} // namespace
} // namespace kvalon
