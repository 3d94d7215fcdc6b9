// Planning and page reading in the ESC/P mode.
#include "engine/escp_line.h"
#include "engine/plan_layout.h"
#include "engine/print_job.h"
#include "engine/read_page.h"
#include "tests/support/recording_surface.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace kvalon {
namespace {

using testing::RecordingSurface;
using testing::TempDir;

std::string esc(const std::string& rest) {
    return "\x1b" + rest;
}

// `pages` pages of `lines` lines of `width` characters, a form-feed line
// after each page.
std::string self_paginated(int pages, int lines, int width) {
    std::string text;
    for (int page = 0; page < pages; ++page) {
        for (int line = 0; line < lines; ++line) {
            text +=
                esc("E") + std::string(static_cast<std::size_t>(width), 'x') + esc("F") + "\r\n";
        }
        text += "\f\r\n";
    }
    return text;
}

std::string unpaginated(int lines, int width) {
    const std::string text = self_paginated(1, lines, width);
    return text.substr(0, text.size() - 3);
}

class EscpPage : public ::testing::Test {
protected:
    void SetUp() override {
        reset_job();
        job().FontFace = "CourierCyr";
        job().ParamList = {"", "0", "8", ""};
        job().EscpMode = true;
        set_printer(&surface);
    }
    void TearDown() override {
        set_printer(nullptr);
        reset_job();
    }

    void plan(const std::string& bytes, bool escp = true) {
        testing::write_bytes(dir.file("report.txt"), bytes);
        job().SourcePath = dir.file("report.txt");
        job().EscpMode = escp;
        plan_layout();
    }

    TempDir dir;
    RecordingSurface surface;
};

TEST_F(EscpPage, LinesAreMeasuredInPrintedCells) {
    plan(esc("@") + esc("E") + "TITLE" + esc("F") + "\r\n" + esc("W1") + "AB" + esc("W0") +
         "C\r\n" + std::string(6, '\x02') + "abc\r\n" +
         "\x0e"
         "ABCDEF\r\n" +
         esc(std::string("*\0\x20\0", 4)) + std::string(32, 'Z') + "\r\n" + "\f\r\n");
    EXPECT_EQ(job().LineCount, 5);
    EXPECT_EQ(job().LongestLine, 14); // six double-width letters and two
}

// Fonts and sheets as the recording surface measures them on A4.
TEST_F(EscpPage, ALongestPageIsFittedOnOneSheet) {
    struct Case {
        const char* name;
        std::string report;
        bool escp;
        int font_size;
        const char* orientation;
    };
    const Case cases[] = {
        {"132 columns, 66-line pages: landscape at 6", self_paginated(3, 66, 132), true, 6, "L"},
        {"without the mode the widest line alone decides", self_paginated(3, 66, 132), false, 9,
         "L"},
        {"60-line pages fit in portrait at 10, not 13", self_paginated(2, 60, 60), true, 10, "P"},
        {"a page no size holds keeps the usual rule", self_paginated(1, 400, 132), true, 9, "L"},
        {"no form feeds, no page of its own", unpaginated(60, 60), true, 13, "P"},
    };
    for (const Case& c : cases) {
        plan(c.report, c.escp);
        EXPECT_EQ(job().FontSize, c.font_size) << c.name;
        EXPECT_EQ(job().Orientation, c.orientation) << c.name;
    }
    plan(self_paginated(3, 66, 132));
    EXPECT_GE(job().LinesPerPage, 66);
    for (int page = 1; page <= 3; ++page) {
        read_page();
        EXPECT_EQ(job().PageNumber, page);
        EXPECT_EQ(job().PageText.find(std::string(133, 'x')), std::string::npos);
    }
    EXPECT_TRUE(job().SourceDone);
}

TEST_F(EscpPage, TheCutCountsPrintedCellsAndKeepsTheAttributes) {
    plan(std::string(20, '.') + "\r\n" + esc("E") + "abc" + esc("W1") + std::string(150, 'w') +
         esc("W0") + esc("F") + "\r\nnext\r\n");
    read_page();
    const std::string cut = esc("!\x08") + "abc" + esc("!\x28") +
                            std::string(static_cast<std::size_t>(job().CharsPerLine - 3) / 2, 'w') +
                            esc(std::string("!\0", 2)) + "\r\n";
    EXPECT_NE(job().PrintText.find(cut), std::string::npos) << job().PrintText;
    EXPECT_FALSE(job().EscpCarried.emphasized);
}

TEST_F(EscpPage, PagesStartWithTheAttributesTheLinesBeforeLeft) {
    plan("a" + esc("E") + "\r\n" + esc("-1") + "\f\r\nb\r\n" + esc("A\x0c") + "c\r\n");
    read_page();
    EXPECT_EQ(job().EscpPageStart, EscpAttributes{});
    read_page();
    EscpAttributes both;
    both.emphasized = true;
    both.underline = true;
    EXPECT_EQ(job().EscpPageStart, both);
    // The form feed among the parameters of ESC A breaks no page.
    EXPECT_NE(job().PageText.find("c\r\n"), std::string::npos);
    EXPECT_TRUE(job().SourceDone);
    EXPECT_EQ(job().PageNumber, 2);
}

} // namespace
} // namespace kvalon

namespace kvalon {
namespace {

// Every row of the bundled samples' tables takes the width of the table:
// bold markers and sequences take no cell.
TEST(Samples, TableRowsLineUp) {
    for (const char* name : {"sample-report.txt", "escp-report.txt"}) {
        const std::string text = testing::read_bytes(testing::source_dir() + "/samples/" + name);
        std::int64_t table_width = 0;
        EscpAttributes carried;
        for (std::size_t start = 0; start < text.size();) {
            const std::size_t end = std::min(text.find('\r', start), text.size());
            const EscpLine line = read_escp_line(text.substr(start, end - start), carried);
            const unsigned char first = line.cells.empty() ? 0 : line.cells.front().code;
            if (first == 218) { // ┌ opens a table
                table_width = line.width;
            } else if (first == 211 || first == 195 || first == 192) { // │ ├ └
                EXPECT_EQ(line.width, table_width)
                    << name << ": " << text.substr(start, end - start);
            }
            start = end + 2;
        }
        EXPECT_GT(table_width, 0) << name;
    }
}

} // namespace
} // namespace kvalon
