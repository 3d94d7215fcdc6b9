// Planning and page reading in the ESC/P mode: one printer page is one sheet.
#include "engine/escp/escp_printer.h"
#include "engine/escp/escp_screen.h"
#include "engine/plan_layout.h"
#include "engine/print_job.h"
#include "engine/printer_language.h"
#include "engine/read_page.h"
#include "tests/support/recording_surface.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace kvalon {
namespace {

using testing::RecordingSurface;
using testing::TempDir;

std::string esc(const std::string& rest) {
    return "\x1b" + rest;
}

std::string lines(int count, const std::string& line) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += line + "\r\n";
    }
    return text;
}

// The visible characters a printer prints, with their places: a page as the
// whole report prints it must print the same from its own bytes.
class Glyphs final : public EscpOutput {
public:
    void glyph(const EscpGlyph& g) override {
        if (!m_done && g.visible()) {
            text += std::string(1, static_cast<char>(g.code)) + "(" + std::to_string(g.x) + "," +
                    std::to_string(g.y) + ")";
        }
    }
    void dots(const EscpDots&) override {
        if (!m_done) {
            text += "dots";
        }
    }
    void page_end(bool had_print) override {
        if (had_print && stop_at_page_end) {
            m_done = true;
        } else if (had_print) {
            text += "|";
        }
    }
    std::string text;
    bool stop_at_page_end = false;

private:
    bool m_done = false;
};

class EscpPage : public ::testing::Test {
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
        job().Escp.emplace();
        plan_layout();
    }

    // Reads every page; each printed from its own bytes and start.
    std::vector<std::string> read_pages() {
        std::vector<std::string> pages;
        while (!job().SourceDone) {
            read_page();
            if (job().PageText.empty()) {
                break;
            }
            Glyphs page;
            page.stop_at_page_end = true;
            EscpPrinter printer(page, job().Escp->PageStart);
            printer.take(job().PrintText);
            printer.finish();
            pages.push_back(page.text);
        }
        return pages;
    }

    TempDir dir;
    RecordingSurface surface;
};

// The pages read one by one are the report's printed pages, each from its
// own bytes: empty pages are passed over, and the call that takes the last
// printed page says the report is done, whatever follows it.
TEST_F(EscpPage, PagesReadAreThePrintersPages) {
    struct Case {
        const char* name;
        std::string report;
    };
    const Case cases[] = {
        {"form feeds, an empty page between, and a tail that prints nothing",
         "A\r\n\fB\r\n\f\fC\r\n\f\r\n" + esc("@") + "\x1a" + "D"},
        {"the form's length passed", esc("C") + "\x03" + lines(7, "x")},
        {"a character the right margin sends across the perforation",
         esc("C") + "\x02" + esc("Q") + "\x02" + "\nabc"},
        {"one command of 70 line feeds across the page's end", "a" + esc("f") + "\x01\x46" + "b"},
        {"a line of double width across the bottom, a picture on the next page",
         esc("C") + "\x02" + "\n\x0e" + "AB\r\n" + esc("K") + std::string("\x02\x00\x0c\x1a", 4)},
    };
    for (const Case& c : cases) {
        Glyphs whole;
        EscpPrinter printer(whole);
        printer.take(c.report);
        printer.finish();
        std::vector<std::string> expected;
        for (std::size_t at = 0; at <= whole.text.size();) {
            const std::size_t end = std::min(whole.text.find('|', at), whole.text.size());
            expected.push_back(whole.text.substr(at, end - at));
            at = end + 1;
        }
        if (expected.back().empty()) {
            expected.pop_back();
        }
        plan(c.report);
        const std::vector<std::string> pages = read_pages();
        EXPECT_EQ(pages, expected) << c.name;
        EXPECT_EQ(static_cast<double>(pages.size()), job().PageCount) << c.name;
        EXPECT_EQ(job().PageNumber, static_cast<int>(pages.size())) << c.name;
        EXPECT_TRUE(job().SourceDone) << c.name;
    }
}

TEST_F(EscpPage, ReadingStopsWithTheLastPrintedPage) {
    plan("A\r\n\f\r\n\x1a");
    read_page();
    EXPECT_EQ(job().PageNumber, 1);
    EXPECT_TRUE(job().SourceDone);
    read_page();
    EXPECT_TRUE(job().PageText.empty());
    EXPECT_EQ(job().PageNumber, 1);
}

// The printer's page - its form and its widest line - goes onto A4 inside
// 10 mm margins at its own size or smaller, landscape only when that is
// larger.
TEST_F(EscpPage, ThePrintersPageIsScaledOntoTheSheet) {
    struct Case {
        const char* name;
        std::string report;
        const char* orientation;
        double scale;
        int font_size;
        int lines_per_page;
    };
    const Case cases[] = {
        {"80 columns of 10 pitch: 8 inches in 190 mm", lines(3, std::string(80, 'x')), "P", 0.9350,
         11, 66},
        {"136 columns: landscape", lines(3, std::string(136, 'x')), "L", 0.6800, 8, 66},
        {"136 condensed columns fit across in portrait", "\x0f" + lines(3, std::string(136, 'x')),
         "P", 0.9429, 11, 66},
        {"a 6-inch form of 40 columns at its own size",
         esc("C") + std::string("\0\x06", 2) + lines(3, std::string(40, 'x')), "P", 1, 12, 36},
        {"8 lines to the inch on 12 inches: the form's length decides",
         esc("0") + esc("C") + std::string("\0\x0c", 2) + "x", "P", 0.9088, 11, 96},
    };
    for (const Case& c : cases) {
        plan(c.report);
        EXPECT_EQ(job().Orientation, c.orientation) << c.name;
        EXPECT_NEAR(job().Escp->Scale, c.scale, 1e-4) << c.name;
        EXPECT_EQ(job().FontSize, c.font_size) << c.name;
        EXPECT_EQ(job().LinesPerPage, c.lines_per_page) << c.name;
    }
}

// One report page per sheet: each page the report ends with a form feed is
// one sheet, however far it runs past the form, the tallest setting the
// scale; a report without form feeds, or a page taller than any form, is cut
// at the form as without it.
TEST_F(EscpPage, WholePagesWhenAskedToFit) {
    struct Case {
        const char* name;
        std::string report;
        bool fit;
        int pages;
        std::int64_t form_length; // printer units
    };
    const std::string seventy = lines(70, "x");
    const Case cases[] = {
        {"70 lines, a form feed, 10 lines: cut", seventy + "\f" + lines(10, "y"), false, 3, 39600},
        {"70 lines, a form feed, 10 lines: whole", seventy + "\f" + lines(10, "y"), true, 2, 42000},
        {"no form feed: cut", seventy, true, 2, 39600},
        {"a page past 22 inches: cut", lines(140, "x") + "\f", true, 3, 39600},
    };
    for (const Case& c : cases) {
        job().FitPages = c.fit;
        plan(c.report);
        EXPECT_EQ(job().PageCount, c.pages) << c.name;
        EXPECT_EQ(job().Escp->FormLength, c.form_length) << c.name;
        EXPECT_EQ(static_cast<int>(read_pages().size()), c.pages) << c.name;
    }
}

TEST_F(EscpPage, TheScreenShowsTheLinesInTheirColumns) {
    plan(esc("D") + std::string("\x05\0", 2) + "ab\tc\r\n\r\n\r\n" + esc("$") +
         std::string("\x0c\0", 2) + "d\b_\r\n\x0f" + "efg\x12\x0c");
    read_page();
    EXPECT_EQ(page_model(job()).screen_page(job()), "ab   c\r\n\r\n\r\n  d\r\nefg");
    // A page of a picture alone shows it, so that it is not taken for empty.
    plan(esc("$") + std::string("\x06\0", 2) + esc("K") + std::string("\x0c\0", 2) +
         std::string(12, '\xFF'));
    read_page();
    EXPECT_EQ(page_model(job()).screen_page(job()), " ##");
}

} // namespace
} // namespace kvalon

namespace kvalon {
namespace {

// Where the last visible character of each line ends, by page and place.
class LineEnds final : public EscpOutput {
public:
    using Line = std::pair<int, std::int64_t>;
    void glyph(const EscpGlyph& g) override {
        if (g.visible()) {
            const Line line{m_page, g.y};
            right[line] = std::max(right[line], g.x + g.width);
            first.emplace(line, g.code);
        }
    }
    void page_end(bool) override { ++m_page; }
    std::map<Line, std::int64_t> right;
    std::map<Line, unsigned char> first;

private:
    int m_page = 0;
};

// Every row of the bundled samples' tables ends where the table does: bold
// markers and sequences take no place.
TEST(Samples, TableRowsLineUp) {
    for (const char* name : {"sample-report.txt", "escp-report.txt"}) {
        LineEnds ends;
        EscpPrinter printer(ends);
        printer.take(testing::read_bytes(testing::source_dir() + "/samples/" + name));
        printer.finish();
        std::int64_t table_right = 0;
        for (const auto& [line, code] : ends.first) {
            if (code == 218) { // ┌ opens a table
                table_right = ends.right[line];
            } else if (code == 211 || code == 195 || code == 192) { // │ ├ └
                EXPECT_EQ(ends.right[line], table_right) << name << " at " << line.second;
            }
        }
        EXPECT_GT(table_right, 0) << name;
    }
}

} // namespace
} // namespace kvalon
