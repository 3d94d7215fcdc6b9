#include "engine/escp_line.h"
#include "engine/escp_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kvalon {
namespace {

// The printed cells of a line: each character, and after it in braces the
// attributes it prints with: b bold, i italic, u underline, w double width.
std::string cells_of(const EscpLine& line) {
    std::string text;
    for (const EscpCell& cell : line.cells) {
        text.push_back(static_cast<char>(cell.code));
        std::string flags;
        flags += cell.attributes.bold() ? "b" : "";
        flags += cell.attributes.italic ? "i" : "";
        flags += cell.attributes.underline ? "u" : "";
        flags += cell.attributes.width() == 2 ? "w" : "";
        text += flags.empty() ? "" : "{" + flags + "}";
    }
    return text;
}

std::string esc(const std::string& rest) {
    return "\x1b" + rest;
}

struct LineCase {
    const char* name;
    std::string bytes;
    std::string cells;
    std::int64_t width;
};

void expect_lines(const std::vector<LineCase>& cases) {
    for (const LineCase& c : cases) {
        EscpAttributes carried;
        const EscpLine line = read_escp_line(c.bytes, carried);
        EXPECT_EQ(cells_of(line), c.cells) << c.name;
        EXPECT_EQ(line.width, c.width) << c.name;
    }
}

TEST(EscpReader, AttributesTakeEffectAsThePrinterSetsThem) {
    expect_lines({
        {"emphasized", esc("E") + "A" + esc("F") + "B", "A{b}B", 2},
        {"double-strike", esc("G") + "A" + esc("H") + "B", "A{b}B", 2},
        {"italic", esc("4") + "A" + esc("5") + "B", "A{i}B", 2},
        {"underline by byte", esc("-\x01") + "A" + esc(std::string("-\0", 2)) + "B", "A{u}B", 2},
        {"underline by digit", esc("-1") + "A" + esc("-0") + "B", "A{u}B", 2},
        {"underline, other values change nothing", esc("-1") + esc("-7") + "A", "A{u}", 1},
        {"double width", esc("W1") + "AB" + esc("W0") + "C", "A{w}B{w}C", 5},
        {"SO to the line's end",
         "\x0e"
         "AB",
         "A{w}B{w}", 4},
        {"DC4 ends SO",
         "\x0e"
         "A\x14"
         "B",
         "A{w}B", 3},
        {"ESC SO", esc("\x0e") + "A", "A{w}", 2},
        {"ESC ! bits 3 to 7", esc("!\xf8") + "A" + esc(std::string("!\0", 2)) + "B", "A{biuw}B", 3},
        {"ESC ! bit 4 alone", esc("!\x10") + "A", "A{b}", 1},
        {"ESC @ ends every attribute",
         esc("E") + esc("-1") + esc("4") + esc("W1") + "A" + esc("@") + "B", "A{biuw}B", 3},
        {"condensed and pitch change nothing",
         "\x0f"
         "A\x12" +
             esc("M") + "B" + esc("P") + "C" + esc("g") + "D" + esc("!\x05") + "E" + esc("\x0f") +
             "F",
         "ABCDEF", 6},
        {"controls take no cell",
         std::string("\0\x07\x08\x0b\x11\x13\x18\x1c\x7f"
                     "A",
                     10),
         "A", 1},
        {"the bold marker takes no cell",
         "\x02"
         "A\x02",
         "A", 1},
        {"a tab keeps its cell", "\tA", "\tA", 2},
    });
}

// Each sequence of fixed length, its parameters letters that would take cells
// if they were not consumed.
TEST(EscpReader, FixedLengthSequencesAreConsumedWithTheirParameters) {
    const std::vector<std::pair<char, int>> sequences = {
        {'@', 0},  {'E', 0}, {'F', 0}, {'G', 0}, {'H', 0}, {'4', 0}, {'5', 0},    {'M', 0},
        {'P', 0},  {'g', 0}, {'T', 0}, {'0', 0}, {'1', 0}, {'2', 0}, {'6', 0},    {'7', 0},
        {'8', 0},  {'9', 0}, {'<', 0}, {'O', 0}, {'#', 0}, {'=', 0}, {'>', 0},    {'\x0f', 0},
        {'x', 1},  {'k', 1}, {'W', 1}, {'-', 1}, {'S', 1}, {'3', 1}, {'A', 1},    {'+', 1},
        {'N', 1},  {'Q', 1}, {'l', 1}, {'R', 1}, {'t', 1}, {'!', 1}, {' ', 1},    {'J', 1},
        {'j', 1},  {'a', 1}, {'p', 1}, {'U', 1}, {'r', 1}, {'w', 1}, {'q', 1},    {'h', 1},
        {'%', 1},  {'I', 1}, {'i', 1}, {'m', 1}, {'s', 1}, {'/', 1}, {'\x19', 1}, {'$', 2},
        {'\\', 2}, {'c', 2}, {'e', 2}, {'f', 2}, {'?', 2}, {'X', 3}, {':', 3},    {'C', 1},
    };
    for (const auto& [command, parameters] : sequences) {
        EscpAttributes carried;
        const std::string bytes = esc(std::string(1, command)) +
                                  std::string(static_cast<std::size_t>(parameters), 'Z') + "ok";
        EXPECT_EQ(read_escp_line(bytes, carried).width, 2) << command;
    }
}

TEST(EscpReader, VariableSequencesAreConsumedByTheirOwnLengthRules) {
    const std::string data(24, 'Z');
    expect_lines({
        {"page length in inches", esc(std::string("C\0\x0c", 3)) + "ok", "ok", 2},
        {"page length in lines", esc("C\x42") + "ok", "ok", 2},
        {"tab stops up to NUL", esc(std::string("D\x08\x10\x18\0", 5)) + "ok", "ok", 2},
        {"a stop out of order ends the list", esc("D\x08\x05") + "ok", "ok", 2},
        {"32 stops end ESC D", esc("D") + "ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`" + "ok", "ok", 2},
        {"16 stops end ESC B", esc("B") + "ABCDEFGHIJKLMNOPQ", "Q", 1},
        {"ESC b channel and stops", esc(std::string("b\x01\x05\x06\0", 5)) + "ok", "ok", 2},
        {"8-dot image", esc(std::string("*\x00\x03\x00", 4)) + data.substr(0, 3) + "ok", "ok", 2},
        {"24-dot image", esc(std::string("*\x27\x02\x00", 4)) + data.substr(0, 6) + "ok", "ok", 2},
        {"48-dot image", esc(std::string("*\x48\x02\x00", 4)) + data.substr(0, 12) + "ok", "ok", 2},
        {"ESC K", esc(std::string("K\x02\x00", 3)) + "ZZok", "ok", 2},
        {"ESC L", esc(std::string("L\x02\x00", 3)) + "ZZok", "ok", 2},
        {"ESC Y", esc(std::string("Y\x02\x00", 3)) + "ZZok", "ok", 2},
        {"ESC Z", esc(std::string("Z\x02\x00", 3)) + "ZZok", "ok", 2},
        {"9-dot image", esc(std::string("^\x00\x02\x00", 4)) + "ZZZZok", "ok", 2},
        {"image data holding ESC and letters", esc(std::string("K\x03\x00", 3)) + esc("EZ") + "ok",
         "ok", 2},
        {"ESC ( with its data", esc(std::string("(C\x02\x00", 4)) + "ZZok", "ok", 2},
        {"user characters",
         esc(std::string("&\0AB", 4)) + std::string("\0\x01\0", 3) + "ZZZ" +
             std::string("\0\x02\0", 3) + "ZZZZZZok",
         "ok", 2},
        {"ROM to RAM", esc(std::string(":\0\0\0", 4)) + "ok", "ok", 2},
        {"raster, uncompressed", esc(std::string(".\0\x0a\x0a\x02\x09\x00", 7)) + "ZZZZok", "ok",
         2},
        {"raster, run of repeats", esc(std::string(".\x01\x0a\x0a\x01\x10\x00", 7)) + "\xffZok",
         "ok", 2},
        {"raster, literal run", esc(std::string(".\x01\x0a\x0a\x01\x10\x00", 7)) + "\x01ZZok", "ok",
         2},
        {"unknown: ESC and one byte", esc("yZok"), "Zok", 3},
    });
}

TEST(EscpReader, SequencesCutByTheLineEndAreDropped) {
    expect_lines({
        {"ESC at the end", "ok\x1b", "ok", 2},
        {"parameter missing", "ok" + esc("W"), "ok", 2},
        {"image data cut", "ok" + esc(std::string("*\x00\x10\x00ZZ", 6)), "ok", 2},
        {"tab list without NUL", "ok" + esc("D\x01\x02"), "ok", 2},
    });
    // A cut sequence does not reach into the next line.
    EscpAttributes carried;
    read_escp_line("ok" + esc("W"), carried);
    EXPECT_EQ(cells_of(read_escp_line("1A", carried)), "1A");
    EscpReader reader;
    reader.take(27);
    reader.take('W');
    EXPECT_EQ(reader.take('\r'), EscpByte::LineEnd);
    EXPECT_EQ(reader.take('1'), EscpByte::Cell);
}

TEST(EscpReader, AttributesLastAcrossLinesButSoEndsWithItsLine) {
    EscpAttributes carried;
    read_escp_line(esc("E") + esc("-1") +
                       "\x0e"
                       "A",
                   carried);
    EXPECT_EQ(cells_of(read_escp_line("B", carried)), "B{bu}");
    read_escp_line(esc("@"), carried);
    EXPECT_EQ(carried, EscpAttributes{});
}

TEST(EscpReader, OnlyAFormFeedOutsideTheSequencesBreaksThePage) {
    EscpAttributes carried;
    EXPECT_FALSE(
        read_escp_line(esc("A\x0c") + esc(std::string("C\0\x0c", 3)) + "ok", carried).form_feed);
    EXPECT_TRUE(read_escp_line("ok\x0c", carried).form_feed);
}

// The kept line, read again from the same attributes, gives the cells that
// fit and leaves the attributes the whole line leaves.
TEST(EscpLineCut, KeepsTheCellsUpToTheCutWithTheirAttributes) {
    struct Case {
        const char* name;
        std::string line;
        std::int64_t most;
        std::string kept;
    };
    const std::string bold = esc("!\x08");
    const std::string plain = esc(std::string("!\0", 2));
    const Case cases[] = {
        {"bold ends after the cut", esc("E") + "ABCDEF" + esc("F"), 3, bold + "ABC" + plain},
        {"a wide character that does not fit", esc("W1") + "AB", 3, esc("! ") + "A"},
        {"the report's sequences are not kept", esc("x1") + "AB" + esc("-1") + esc("-1") + "C", 3,
         "AB" + esc("!\x80") + "C"},
        {"image data", "A" + esc(std::string("K\x14\x00", 3)) + std::string(20, 'Z') + "B", 5,
         "AB"},
        {"a cut sequence", "AB" + esc("W"), 5, "AB"},
        {"a form feed ends SO",
         "\x0e"
         "A\x0c"
         "BC",
         4,
         "\x0e"
         "A\x14"
         "BC"},
        {"markers that count",
         "\x02\x02\x02"
         "A\x02\x02"
         "B\x02",
         5,
         "\x02"
         "AB"},
        {"a line feed takes a cell of the cut", "AB\nCD", 4, "AB\nC"},
    };
    for (const Case& c : cases) {
        std::string kept;
        EscpLineCut cut(EscpAttributes{}, c.most, kept);
        cut.take(c.line.substr(0, 2));
        cut.take(c.line.substr(2));
        const EscpAttributes after = cut.finish();
        EXPECT_EQ(kept, c.kept) << c.name;
        EscpAttributes whole;
        read_escp_line(c.line, whole);
        EXPECT_EQ(after, whole) << c.name;
        EscpAttributes again;
        read_escp_line(kept, again);
        EXPECT_EQ(again, whole) << c.name;
    }
}

TEST(EscpLineCut, ScreenTextHasNoSequences) {
    EXPECT_EQ(without_escp_sequences(esc("@") + esc("E") +
                                     "\x0f"
                                     "AB\x02"
                                     "C\x02\r\n" +
                                     esc("A\x0c") + "D\r\n"),
              "AB\x02"
              "C\x02\r\nD\r\n");
}

} // namespace
} // namespace kvalon
