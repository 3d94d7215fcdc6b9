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

// The printer's page at half its size, its corner at (10, 20) mm: a 10-pitch
// column is 1.27 mm, a sixth of an inch 2.12 mm.
class EscpPrint : public ::testing::Test {
protected:
    void SetUp() override {
        reset_job();
        PrintJob& j = job();
        j.FontFace = "CourierCyr";
        j.FontSize = 6;
        j.Orientation = "P";
        j.SkipChar = "\x02";
        j.Escp.emplace();
        j.Escp->Scale = 0.5;
        j.Escp->LeftMm = 10;
        j.Escp->TopMm = 20;
        j.CommandLineJob = true;
        j.SourceDone = true;
        set_printer(&surface);
    }
    void TearDown() override {
        set_printer(nullptr);
        reset_job();
    }

    std::vector<std::string> print(const std::string& page) {
        job().PageText = job().PrintText = page;
        print_page();
        return surface.log;
    }

    RecordingSurface surface;
};

TEST_F(EscpPrint, EverythingLandsWhereThePrinterPutIt) {
    const std::string picture_line = esc("K") + std::string("\x02\x00\xFF\xFF", 4);
    const std::vector<std::string> expected = {
        R"(Print x=10.00 y=20.00 "A" bold=0)",
        R"(Print x=11.27 y=20.00 "B" bold=0)",
        "Line 11.27 21.80 12.54 21.80 w=4",
        "Line 12.54 21.06 13.81 21.06 w=4",
        R"(Print x=10.00 y=22.12 "C" bold=0 wide=0.58)",
        R"(Print x=10.74 y=22.12 "D" bold=1 italic=1 wide=2.00)",
        "Image 10.00 23.81 0.42 3.39 cols=2 rows=16 dots=32",
        "EndDoc",
    };
    EXPECT_EQ(print("A" + esc("-1") + "B" + esc("-0") + "\xC4\r\n" + esc("3") + "\x18" +
                    "\x0f"
                    "C\x12" +
                    esc("W1") + esc("E") + esc("4") + "D" + esc("@") + esc("3") + "\x18" + "\r\n" +
                    picture_line + "\r\n" + picture_line + "\x0c"),
              expected);
}

TEST_F(EscpPrint, TheFooterStandsUnderTheLowestPrint) {
    job().CommandLineJob = false;
    const std::vector<std::string> log = print("\n\nA\x0c");
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0], R"(Print x=10.00 y=24.23 "A" bold=0)");
    EXPECT_EQ(log[1].rfind("Print x=10.00 y=26.35 \"     ", 0), 0u) << log[1];
    EXPECT_EQ(log[1].substr(log[1].size() - 11), "\" bold=1 nl") << log[1];
}

} // namespace
} // namespace kvalon
