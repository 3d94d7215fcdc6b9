#include "engine/print_job.h"
#include "printing/print_page.h"
#include "tests/support/recording_surface.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kvalon {
namespace {

using testing::RecordingSurface;

class PrintPage : public ::testing::Test {
protected:
    void SetUp() override {
        reset_job();
        PrintJob& j = job();
        j.FontFace = "CourierCyr";
        j.FontSize = 10;
        j.Orientation = "L";
        j.CharWidth = 2;
        j.LineHeight = 4;
        j.SkipChar = "\x02";
        set_printer(&surface);
    }
    void TearDown() override { set_printer(nullptr); }

    void print(const std::string& text, bool last, bool command_line = true) {
        job().PageText = text;
        job().PrintText = text;
        job().SourceDone = last;
        job().CommandLineJob = command_line;
        print_page();
    }

    // The printed texts with their bold flags, without positions.
    std::vector<std::string> printed() const {
        std::vector<std::string> texts;
        for (const std::string& entry : surface.log) {
            if (entry.rfind("Print", 0) == 0) {
                const auto quote = entry.find('"');
                texts.push_back(entry.substr(quote));
            }
        }
        return texts;
    }

    RecordingSurface surface;
};

TEST_F(PrintPage, EmptyPageTouchesNothing) {
    surface.set_font_bold(true);
    print("", true);
    print("", false);
    EXPECT_TRUE(surface.log.empty());
    EXPECT_TRUE(surface.font_bold());
    EXPECT_EQ(surface.orientation(), PrinterSurface::kPortrait);
}

TEST_F(PrintPage, AppliesTheJobsFontAndOrientationAfresh) {
    surface.set_font_bold(true);
    surface.set_font_size(6);
    print("x", false);
    EXPECT_EQ(surface.font_name, "CourierCyr");
    EXPECT_FLOAT_EQ(surface.font_size(), 10);
    EXPECT_EQ(surface.orientation(), PrinterSurface::kLandscape);
    EXPECT_EQ(printed(), std::vector<std::string>{"\"x\" bold=0"});
    job().Orientation = "P";
    print("x", false);
    EXPECT_EQ(surface.orientation(), PrinterSurface::kPortrait);
}

TEST_F(PrintPage, MarkersSwitchBoldUntilTheLineEnds) {
    print("a\x02"
          "b\x02"
          "c\r\nd\x02"
          "e\r\nf",
          false);
    EXPECT_EQ(printed(), (std::vector<std::string>{"\"a\" bold=0", "\"b\" bold=1", "\"c\" bold=0",
                                                   "\"\" bold=0 nl", "\"d\" bold=0", "\"e\" bold=1",
                                                   "\"\" bold=0 nl", "\"f\" bold=0"}));
}

TEST_F(PrintPage, EveryCharacterButLineEndsAndMarkersTakesOneCell) {
    print("a\x1b\x02 b\x02\r\n", false);
    const std::vector<std::string> expected = {
        "Print x=0.00 y=0.00 \"a\" bold=0",
        // escape prints nothing but takes the cell at 2.00; the marker takes none
        "Print x=4.00 y=0.00 \" \" bold=1",
        "Print x=6.00 y=0.00 \"b\" bold=1",
        "Print x=8.00 y=0.00 \"\" bold=0 nl",
        "NewPage",
    };
    EXPECT_EQ(surface.log, expected);
}

TEST_F(PrintPage, PagesEndWithNewPageAndTheLastWithEndDoc) {
    print("\r\n\r\nA\r\n", false);
    print("\r\n\r\nB\r\n", true);
    std::vector<std::string> ends;
    for (const std::string& entry : surface.log) {
        if (entry == "NewPage" || entry == "EndDoc") {
            ends.push_back(entry);
        }
    }
    EXPECT_EQ(ends, (std::vector<std::string>{"NewPage", "EndDoc"}));
}

TEST_F(PrintPage, OnlyAnInteractiveJobGetsTheFooterUnderItsLastPage) {
    print("\r\n\r\nA\r\n", false, false);
    print("\r\n\r\nB\r\n", true, false);
    ASSERT_GE(surface.log.size(), 2u);
    const std::string footer = surface.log[surface.log.size() - 2];
    EXPECT_EQ(footer, "Print x=0.00 y=" + testing::two_decimals(3 * 1.1328125 * 10 * 25.4 / 72) +
                          " \"" + footer_line() + "\" bold=1 nl");
    EXPECT_EQ(surface.log.back(), "EndDoc");
    EXPECT_EQ(footer_line().substr(0, 10), std::string(10, ' '));
    EXPECT_NE(footer_line().find("Програми за счетоводство, склад и фактуриране"),
              std::string::npos);
    EXPECT_NE(footer_line().find("https://"), std::string::npos);
    int footers = 0;
    for (const std::string& entry : surface.log) {
        footers += entry.find("фактуриране") != std::string::npos;
    }
    EXPECT_EQ(footers, 1);

    surface.log.clear();
    print("\r\n\r\nC\r\n", true, true);
    for (const std::string& entry : surface.log) {
        EXPECT_EQ(entry.find("фактуриране"), std::string::npos);
    }
}

// The preview ran out or closed after page 1 of a longer job: the footer
// goes under that page and the document ends; nothing waits afterwards.
TEST_F(PrintPage, EndingPrintedPagesPutsTheFooterUnderTheLastPrintedPage) {
    print("\r\n\r\nA\r\n", false, false);
    ASSERT_TRUE(end_printed_pages());
    const std::vector<std::string> tail(surface.log.end() - 4, surface.log.end());
    EXPECT_EQ(tail, (std::vector<std::string>{
                        "NewPage", "ReturnToLastPage",
                        "Print x=0.00 y=" + testing::two_decimals(3 * 1.1328125 * 10 * 25.4 / 72) +
                            " \"" + footer_line() + "\" bold=1 nl",
                        "EndDoc"}));
    EXPECT_FALSE(end_printed_pages());

    // Once output began on the next page, the ended one cannot take more.
    surface.log.clear();
    print("\r\n\r\nB\r\n", false, false);
    surface.print("C", false);
    EXPECT_FALSE(end_printed_pages());
    EXPECT_EQ(surface.log.back().rfind("Print", 0), 0u);
}

TEST_F(PrintPage, PrintsThePrintTextNotTheEditedPageText) {
    job().PageText = "edited on screen";
    job().PrintText = "Z";
    job().SourceDone = false;
    print_page();
    EXPECT_EQ(printed(), std::vector<std::string>{"\"Z\" bold=0"});
}

} // namespace
} // namespace kvalon
