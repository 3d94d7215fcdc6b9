#include "engine/print_job.h"
#include "printing/print_page.h"
#include "tests/support/recording_surface.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kvalon {
namespace {

using testing::RecordingSurface;

std::string esc(const std::string& rest) {
    return "\x1b" + rest;
}

// Cells 2 mm wide and 4 mm high, one blank of indentation.
class EscpPrint : public ::testing::Test {
protected:
    void SetUp() override {
        reset_job();
        PrintJob& j = job();
        j.FontFace = "CourierCyr";
        j.FontSize = 10;
        j.Orientation = "P";
        j.CharWidth = 2;
        j.LineHeight = 4;
        j.LeftIndent = 1;
        j.SkipChar = "\x02";
        j.EscpMode = true;
        j.CommandLineJob = true;
        j.SourceDone = true;
        surface.line_em = 4 / (10 * 25.4 / 72); // a line of the font is the cell's height
        set_printer(&surface);
    }
    void TearDown() override {
        set_printer(nullptr);
        reset_job();
    }

    std::vector<std::string> print(const std::string& lines) {
        job().PageText = job().PrintText = "\r\n\r\n" + lines;
        print_page();
        return std::vector<std::string>(surface.log.begin() + 2, surface.log.end());
    }

    RecordingSurface surface;
};

TEST_F(EscpPrint, SequencesTakeNoCellAndAttributesReachTheSurface) {
    job().EscpPageStart.emphasized = true;
    const std::vector<std::string> expected = {
        R"(Print x=0.00 y=8.00 " " bold=0)",
        R"(Print x=2.00 y=8.00 "A" bold=1)",
        "Line 2.00 11.40 4.00 11.40 w=4",
        R"(Print x=4.00 y=8.00 "B" bold=1 italic=1 wide=2)",
        "Line 4.00 11.40 8.00 11.40 w=4",
        "Line 8.00 10.00 12.00 10.00 w=4",
        "Line 8.00 11.40 12.00 11.40 w=4",
        R"(Print x=12.00 y=8.00 "" bold=0 nl)",
        R"(Print x=0.00 y=12.00 " " bold=0)",
        R"(Print x=2.00 y=12.00 "C" bold=0 italic=1)",
        R"(Print x=4.00 y=12.00 "D" bold=1 italic=1)",
        R"(Print x=6.00 y=12.00 "" bold=0 nl)",
        "EndDoc",
    };
    EXPECT_EQ(print(" " + esc("-1") + "A" + esc("4") +
                    "\x0e"
                    "B\xc4"
                    "\r\n " +
                    esc("F") + esc("-0") + esc("x1") +
                    "C\x02"
                    "D\r\n"),
              expected);
}

TEST_F(EscpPrint, TheNextPageStartsPlainForTheFooter) {
    job().CommandLineJob = false;
    job().EscpPageStart.italic = true;
    job().EscpPageStart.wide = true;
    const std::vector<std::string> log = print(" A\r\n");
    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ(log[1], R"(Print x=2.00 y=8.00 "A" bold=0 italic=1 wide=2)");
    EXPECT_EQ(log[2], R"(Print x=6.00 y=8.00 "" bold=0 nl)");
    EXPECT_EQ(log[3].substr(log[3].size() - 11), "\" bold=1 nl") << log[3];
    EXPECT_EQ(log[4], "EndDoc");
}

} // namespace
} // namespace kvalon
