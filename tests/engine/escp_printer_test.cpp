// The ESC/P page model: where the printer puts each character, picture and
// page break, in printer units (1/3600 inch; a 10-pitch column is 360, a
// sixth of an inch 600).
#include "engine/escp/escp_printer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kvalon {
namespace {

std::string esc(const std::string& rest) {
    return "\x1b" + rest;
}

std::string bytes(std::initializer_list<int> values) {
    std::string text;
    for (const int value : values) {
        text.push_back(static_cast<char>(value));
    }
    return text;
}

// The printer's work as text: each character and where it stands ("A(0,600)",
// with "b", "i", "u" or "w" before the bracket for bold, italic, underline and
// double width), "|" for a page end with print on it, "-" for one without,
// and each picture as "dots(x,y cp×rp cols×rows n)" with n its dots.
class Trace final : public EscpOutput {
public:
    void glyph(const EscpGlyph& g) override {
        std::string flags = std::string(g.bold ? "b" : "") + (g.italic ? "i" : "") +
                            (g.underline ? "u" : "") + (g.double_width ? "w" : "");
        add(std::string(1, static_cast<char>(g.code)) + flags + "(" + std::to_string(g.x) + "," +
            std::to_string(g.y) + ")");
    }
    void dots(const EscpDots& d) override {
        int count = 0;
        for (int row = 0; row < d.image.rows(); ++row) {
            for (int column = 0; column < d.image.columns(); ++column) {
                count += d.image.dot(column, row) ? 1 : 0;
            }
        }
        add("dots(" + std::to_string(d.x) + "," + std::to_string(d.y) + " " +
            std::to_string(d.column_pitch) + "x" + std::to_string(d.row_pitch) + " " +
            std::to_string(d.image.columns()) + "x" + std::to_string(d.image.rows()) + " " +
            std::to_string(count) + ")");
        last = d;
    }
    void page_end(bool had_print) override { add(had_print ? "|" : "-"); }

    void add(const std::string& entry) { text += text.empty() ? entry : " " + entry; }
    std::string text;
    EscpDots last;
};

std::string trace(const std::string& report) {
    Trace out;
    EscpPrinter printer(out);
    printer.take(report);
    printer.finish();
    return out.text;
}

struct Case {
    const char* name;
    std::string report;
    std::string expected;
};

void expect_traces(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        EXPECT_EQ(trace(c.report), c.expected) << c.name;
    }
}

TEST(EscpPrinter, LineSpacingMovesTheHeadDown) {
    expect_traces({
        {"LF: a sixth of an inch, back to the margin", "AB\nC", "A(0,0) B(360,0) C(0,600)"},
        {"CR LF is one line", "A\r\nB", "A(0,0) B(0,600)"},
        {"ESC 0: an eighth", esc("0") + "A\nB", "A(0,0) B(0,450)"},
        {"ESC 1: 7/72", esc("1") + "A\nB", "A(0,0) B(0,350)"},
        {"ESC 2 after ESC 0", esc("0") + esc("2") + "A\nB", "A(0,0) B(0,600)"},
        {"ESC 3 n: n/180", esc("3") + bytes({36}) + "A\nB", "A(0,0) B(0,720)"},
        {"ESC A n: n/60", esc("A") + bytes({12}) + "A\nB", "A(0,0) B(0,720)"},
        {"ESC + n: n/360", esc("+") + bytes({72}) + "A\nB", "A(0,0) B(0,720)"},
        {"ESC J n feeds n/180, the head stays", "A" + esc("J") + bytes({36}) + "B",
         "A(0,0) B(360,720)"},
        {"ESC j n feeds back", "\n\nA" + esc("j") + bytes({60}) + "B", "A(0,1200) B(360,0)"},
        {"ESC 3 0: lines on one another", esc("3") + bytes({0}) + "A\nB", "A(0,0) B(0,0)"},
        {"ESC ( V: from the top of the form, in 1/360",
         "A" + esc("(V") + bytes({2, 0, 36, 0}) + "B", "A(0,0) B(360,360)"},
        {"ESC ( v: down from the head", "\nA" + esc("(v") + bytes({2, 0, 0xDC, 0xFF}) + "B",
         "A(0,600) B(360,240)"},
    });
}

TEST(EscpPrinter, PagesEndAsTheFormSays) {
    expect_traces({
        {"FF", "A\fB", "A(0,0) | B(0,0)"},
        {"FF on an empty page", "\fA", "- A(0,0)"},
        {"past the form's length (ESC C n lines)", esc("C") + bytes({2}) + "A\n\nB",
         "A(0,0) | B(0,0)"},
        {"ESC C 0 n inches", esc("C") + bytes({0, 1}) + "A\n\n\n\n\n\nB", "A(0,0) | B(0,0)"},
        {"the default form: 66 lines", "A" + std::string(66, '\n') + "B", "A(0,0) | B(0,0)"},
        {"a feed across the perforation goes on below it",
         esc("C") + bytes({2}) + esc("3") + bytes({24}) + "A\nB\nC\nD",
         "A(0,0) B(0,480) C(0,960) | D(0,240)"},
        {"ESC C makes this line the top of the form", "A\n" + esc("C") + bytes({66}) + "B",
         "A(0,0) | B(0,0)"},
        {"ESC N skips over the perforation",
         esc("C") + bytes({4}) + esc("N") + bytes({2}) + "A\n\nB", "A(0,0) | B(0,0)"},
        {"ESC O ends the skip", esc("C") + bytes({4}) + esc("N") + bytes({2}) + esc("O") + "A\n\nB",
         "A(0,0) B(0,1200)"},
        {"VT to the vertical tab stops, past the last to the next page",
         esc("B") + bytes({3, 5, 0}) + "A\vB\vC\vD", "A(0,0) B(0,1800) C(0,3000) | D(0,0)"},
        {"VT without stops feeds a line", "A\vB", "A(0,0) B(0,600)"},
    });
}

TEST(EscpPrinter, CharactersTakeTheWidthOfTheirPitch) {
    expect_traces({
        {"10 pitch", "AB", "A(0,0) B(360,0)"},
        {"ESC M: 12", esc("M") + "AB", "A(0,0) B(300,0)"},
        {"ESC g: 15", esc("g") + "AB", "A(0,0) B(240,0)"},
        {"SI: condensed 10 (17.1)",
         "\x0f"
         "AB\x12"
         "C",
         "A(0,0) B(210,0) C(420,0)"},
        {"condensed 12 is 20", esc("M") + esc("\x0f") + "AB", "A(0,0) B(180,0)"},
        {"ESC W 1: double width", esc("W1") + "AB" + esc("W0") + "C",
         "Aw(0,0) Bw(720,0) C(1440,0)"},
        {"SO: double width to the line's end",
         "\x0e"
         "A\nB",
         "Aw(0,0) B(0,600)"},
        {"ESC ! 0x21: elite and double width", esc("!") + bytes({0x21}) + "AB",
         "Aw(0,0) Bw(600,0)"},
        {"ESC SP n adds n/180", esc(" ") + bytes({18}) + "AB", "A(0,0) B(720,0)"},
        {"ESC c: a width of n/360", esc("c") + bytes({90, 0}) + "AB", "A(0,0) B(900,0)"},
        {"ESC @ brings 10 pitch back and the head home", esc("g") + "A" + esc("@") + "BC",
         "A(0,0) B(0,0) C(360,0)"},
        {"attributes", esc("E") + "A" + esc("F") + esc("4") + esc("-1") + "B\x02" + "C\nD",
         "Ab(0,0) Biu(360,0) Cbiu(720,0) Diu(0,600)"},
    });
}

TEST(EscpPrinter, TabsMarginsAndMovesPlaceTheHead) {
    expect_traces({
        {"HT: every eight columns", "A\tB", "A(0,0) B(2880,0)"},
        {"HT in 12 pitch", esc("M") + "\tB", "B(2400,0)"},
        {"ESC D stops; past the last HT does nothing", esc("D") + bytes({5, 10, 0}) + "\tA\tB\tC",
         "A(1800,0) B(3600,0) C(3960,0)"},
        {"ESC D in the pitch in force", esc("M") + esc("D") + bytes({5, 0}) + esc("P") + "\tA",
         "A(1500,0)"},
        {"ESC l: the left margin, and lines start there", esc("l") + bytes({5}) + "A\nB\rC\tD",
         "A(1800,0) B(1800,600) C(1800,600) D(4680,600)"},
        {"ESC l moved left or right puts the head at the new margin",
         esc("l") + bytes({40}) + "A\r\n" + esc("l") + bytes({5}) + "B\r\nC\r\n" + esc("l") +
             bytes({10}) + "D",
         "A(14400,0) B(1800,600) C(1800,1200) D(3600,1800)"},
        {"ESC l drops what the line held and starts it at the new margin",
         esc("l") + bytes({10}) + "AB" + esc("\\") + bytes({36, 0}) + "C" + esc("l") + bytes({0}) +
             "D\r\n",
         "D(0,0)"},
        {"ESC l after CR: the printed line stays", "AB\r" + esc("l") + bytes({5}) + "C",
         "A(0,0) B(360,0) C(1800,0)"},
        {"ESC l drops a picture on the line too",
         esc("K") + bytes({1, 0, 0xFF}) + esc("l") + bytes({2}) + "A", "A(720,0)"},
        {"ESC Q: a character past the right margin goes to the next line",
         esc("Q") + bytes({3}) + "ABCD", "A(0,0) B(360,0) C(720,0) D(0,600)"},
        {"ESC $: from the left margin in 1/60", "A" + esc("$") + bytes({60, 0}) + "B",
         "A(0,0) B(3600,0)"},
        {"ESC $ past the right margin is ignored",
         esc("Q") + bytes({10}) + "A" + esc("$") + bytes({61, 0}) + "B", "A(0,0) B(360,0)"},
        {"ESC \\: relative in 1/180, both ways",
         "A" + esc("\\") + bytes({36, 0}) + "B" + esc("\\") + bytes({0xCA, 0xFF}) + "C",
         "A(0,0) B(1080,0) C(360,0)"},
        {"ESC ( U then ESC $ in its unit",
         esc("(U") + bytes({1, 0, 10}) + esc("$") + bytes({36, 0}) + "A", "A(360,0)"},
        {"BS: back one character, overstruck", "A\bB", "A(0,0) B(0,0)"},
        {"CR without LF: the line printed over", "AB\r__", "A(0,0) B(360,0) _(0,0) _(360,0)"},
        {"the bold marker lasts to the line's end",
         "\x02"
         "A\nB",
         "Ab(0,0) B(0,600)"},
    });
}

// Sequences are read by their length: their bytes never act as text, and a
// picture's data may hold any byte.
TEST(EscpPrinter, SequenceBytesNeverActAsText) {
    expect_traces({
        {"CR, FF, LF and the end mark in a picture's data",
         esc("K") + bytes({4, 0, 13, 12, 10, 26}) + "A", "dots(0,0 60x60 4x8 10) A(240,0)"},
        {"a form feed among a command's parameters", esc("A") + "\f" + "A\nB", "A(0,0) B(0,720)"},
        {"the end mark outside a sequence ends the report",
         "A\x1a"
         "B",
         "A(0,0)"},
        {"controls take no place", bytes({0, 7, 17, 19, 24, 127}) + "A", "A(0,0)"},
        {"ESC = clears the top bit, ESC # lets it be", esc("=") + "\xC1" + esc("#") + "\xC1",
         "A(0,0) \xC1(360,0)"},
        {"an unknown command takes its one byte", esc("~") + "A", "A(0,0)"},
    });
}

struct Picture {
    const char* name;
    std::string report;
    std::int64_t column_pitch;
    std::int64_t row_pitch;
    int columns;
    int rows;
};

// Each command draws the dots of its data at its density: a first column of
// `rows` dots (all bits set) and a second with only the top dot.
TEST(EscpPrinter, PicturesTakeTheirDensity) {
    const auto two_columns = [](unsigned bytes_per_column) {
        std::string data(bytes_per_column, '\xFF');
        data += '\x80';
        data += std::string(bytes_per_column - 1, '\0');
        return data;
    };
    std::vector<Picture> pictures = {
        {"ESC K: 60 dpi", esc("K") + bytes({2, 0}) + two_columns(1), 60, 60, 2, 8},
        {"ESC L: 120 dpi", esc("L") + bytes({2, 0}) + two_columns(1), 30, 60, 2, 8},
        {"ESC Y: 120 dpi", esc("Y") + bytes({2, 0}) + two_columns(1), 30, 60, 2, 8},
        {"ESC Z: 240 dpi", esc("Z") + bytes({2, 0}) + two_columns(1), 15, 60, 2, 8},
        {"ESC ? assigns ESC K a 24-dot density",
         esc("?K") + bytes({39}) + esc("K") + bytes({2, 0}) + two_columns(3), 20, 20, 2, 24},
        {"ESC ^: 9 dots of 1/72", esc("^") + bytes({0, 2, 0}) + "\xFF\x80\x80" + bytes({0}), 60, 50,
         2, 9},
    };
    const int eight_dot[] = {60, 30, 30, 15, 45, 50, 40, 25};
    for (int mode = 0; mode < 8; ++mode) {
        pictures.push_back({"ESC * 8-dot", esc("*") + bytes({mode, 2, 0}) + two_columns(1),
                            eight_dot[mode], 60, 2, 8});
    }
    for (const auto& [mode, pitch] : {std::pair{32, 60}, {33, 30}, {38, 40}, {39, 20}, {40, 10}}) {
        pictures.push_back(
            {"ESC * 24-dot", esc("*") + bytes({mode, 2, 0}) + two_columns(3), pitch, 20, 2, 24});
    }
    for (const auto& [mode, pitch] : {std::pair{71, 20}, {72, 10}, {73, 10}}) {
        pictures.push_back(
            {"ESC * 48-dot", esc("*") + bytes({mode, 2, 0}) + two_columns(6), pitch, 10, 2, 48});
    }
    for (const Picture& p : pictures) {
        Trace out;
        EscpPrinter printer(out);
        printer.take(p.report + "A");
        printer.finish();
        const int dots = p.rows + 1;
        const std::string expected = "dots(0,0 " + std::to_string(p.column_pitch) + "x" +
                                     std::to_string(p.row_pitch) + " " + std::to_string(p.columns) +
                                     "x" + std::to_string(p.rows) + " " + std::to_string(dots) +
                                     ") A(" + std::to_string(2 * p.column_pitch) + ",0)";
        EXPECT_EQ(out.text, expected) << p.name << " " << p.report.substr(1, 3);
        EXPECT_TRUE(out.last.image.dot(0, p.rows - 1)) << p.name;
        EXPECT_TRUE(out.last.image.dot(1, 0)) << p.name;
        EXPECT_FALSE(out.last.image.dot(1, 1)) << p.name;
    }
}

// ESC . c v h m nL nH: m rows of nL + 256 nH dots, v and h in 1/3600 inch;
// run-length data expands to the same rows.
TEST(EscpPrinter, RasterRowsPlainAndRunLength) {
    const std::string head = bytes({10, 20, 2, 12, 0});
    const std::string rows = bytes({0xF0, 0xF0, 0x00, 0x80});
    // Two repeats of one byte, then two bytes as they are.
    const std::string packed = bytes({0xFF, 0xF0, 0x01, 0x00, 0x80});
    for (const std::string& report :
         {esc(".") + bytes({0}) + head + rows + "A", esc(".") + bytes({1}) + head + packed + "A"}) {
        Trace out;
        EscpPrinter printer(out);
        printer.take(report);
        printer.finish();
        EXPECT_EQ(out.text, "dots(0,0 20x10 12x2 9) A(240,0)");
        for (const auto& [column, row] : {std::pair{0, 0}, {3, 0}, {11, 0}, {8, 1}}) {
            EXPECT_TRUE(out.last.image.dot(column, row)) << column << "," << row;
        }
        EXPECT_FALSE(out.last.image.dot(4, 0));
    }
}

TEST(EscpPrinter, PicturesStopAtTheRightMarginAndAtTheReportsEnd) {
    expect_traces({
        {"columns past the right margin are dropped",
         esc("Q") + bytes({1}) + esc("K") + bytes({10, 0}) + std::string(10, '\xFF') + "A",
         "dots(0,0 60x60 6x8 48) A(0,600)"},
        {"a picture cut short is drawn as far as it goes",
         esc("K") + bytes({100, 0}) + std::string(3, '\xFF') + "\x80", "dots(0,0 60x60 4x8 25)"},
        {"raster rows cut short", esc(".") + bytes({0, 10, 10, 8, 16, 0}) + "\xFF\xFF\xFF",
         "dots(0,0 10x10 16x2 24)"},
        {"a picture of no dots prints nothing but moves the head",
         esc("K") + bytes({3, 0, 0, 0, 0}) + "A", "A(180,0)"},
        {"the head passes a picture; lines of pictures stack at 24/180",
         esc("3") + bytes({24}) + esc("K") + bytes({1, 0, 1}) + "\r\n" + esc("K") +
             bytes({1, 0, 1}),
         "dots(0,0 60x60 1x8 1) dots(0,480 60x60 1x8 1)"},
    });
}

} // namespace
} // namespace kvalon
