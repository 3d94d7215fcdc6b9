#include "engine/filter_text.h"
#include "engine/print_job.h"

#include <gtest/gtest.h>

#include <string>

namespace kvalon {
namespace {

std::string bytes(std::initializer_list<int> codes) {
    std::string text;
    for (const int code : codes) {
        text.push_back(static_cast<char>(code));
    }
    return text;
}

class FilterText : public ::testing::Test {
protected:
    void SetUp() override {
        reset_job();
        job().SkipChar = std::string(1, '\x02');
    }
};

struct FilterCase {
    const char* name;
    std::string input;
    std::string screen;
    std::string printer;
};

TEST_F(FilterText, EveryChangedCodeForBothTargets) {
    const FilterCase cases[] = {
        {"empty", "", "", ""},
        {"cut at form feed and CR", bytes({'a', 'b', 12, 13, 10, 'c', 'd'}), "ab", "ab"},
        {"lone form feed removed", bytes({12, 'X'}), "X", "X"},
        {"escape only itself", bytes({27, 'E'}), "E", "E"},
        {"escape alone", bytes({27}), "", ""},
        {"SI and DC2", bytes({15, 'a', 18}), "a", "a"},
        {"numero", bytes({213}), "N", "N"},
        {"low line", bytes({95}), "-", bytes({95})},
        {"horizontal", bytes({196}), "-", bytes({196})},
        {"vertical", bytes({211}), "|", bytes({211})},
        {"corner", bytes({218}), " ", bytes({218})},
        {"double vertical", bytes({199}), "|", bytes({199})},
        {"double horizontal and cross", bytes({205, 206, 203, 202}), "----",
         bytes({205, 206, 203, 202})},
        {"double corners", bytes({198, 200, 201, 204, 215, 216}), "      ",
         bytes({198, 200, 201, 204, 215, 216})},
        {"upper half block is a corner on screen", bytes({223}), " ", bytes({223})},
        {"top border", bytes({218, 196, 196, 196, 194, 196, 196, 196, 207}), " ------- ",
         bytes({218, 196, 196, 196, 194, 196, 196, 196, 207})},
        {"row", bytes({211, 'a', 'b', 211}), "|ab|", bytes({211, 'a', 'b', 211})},
        {"letters move up by 64", bytes({128, 191}), bytes({192, 255}), bytes({192, 255})},
        {"box codes are not shifted", bytes({192}), " ", bytes({192})},
        {"shades, blocks and section pass", bytes({208, 209, 210, 214, 219, 220, 221, 222}),
         bytes({208, 209, 210, 214, 219, 220, 221, 222}),
         bytes({208, 209, 210, 214, 219, 220, 221, 222})},
        {"bold marker removed, line ends kept", bytes({2, 'a', 13, 10, 2}), bytes({'a', 13, 10}),
         bytes({'a', 13, 10})},
        {"high symbols pass", bytes({224, 255, 9}), bytes({224, 255, 9}), bytes({224, 255, 9})},
    };
    for (const FilterCase& c : cases) {
        EXPECT_EQ(filter_text(c.input, "Screen"), c.screen) << c.name;
        EXPECT_EQ(filter_text(c.input, "Printer"), c.printer) << c.name;
    }
}

// Other code pages find their frames by the characters' lines, keep their
// letters and their numero sign, and are shifted nowhere.
TEST_F(FilterText, OtherCodePagesKeepTheirBytesAndPlainTheirFrames) {
    struct PageCase {
        CodePageId page;
        const char* name;
        std::string input;
        std::string screen; // the printer keeps the input's bytes
    };
    const PageCase cases[] = {
        {CodePageId::Cp437, "single frame", bytes({0xDA, 0xC4, 0xC2, 0xBF, 0xB3, 0xC0}), " -- | "},
        {CodePageId::Cp437, "mixed frame", bytes({0xD1, 0xC7, 0xB6, 0xD7, 0xBA, 0xD5}), "-  -| "},
        {CodePageId::Cp866, "letters and numero", bytes({0x80, 0xE0, 0xEF, 0xFC}),
         bytes({0x80, 0xE0, 0xEF, 0xFC})},
        {CodePageId::Koi8R, "frame at 128", bytes({0x80, 0x81, 0x82, 0xC1}), "-| " + bytes({0xC1})},
        {CodePageId::Cp1251, "letters 192 up stay", bytes({0xC0, 0xFF, 0xB9}),
         bytes({0xC0, 0xFF, 0xB9})},
        {CodePageId::Cp850, "upper half block", bytes({0xDF, 0xDB}), " " + bytes({0xDB})},
    };
    for (const PageCase& c : cases) {
        job().CodePage = c.page;
        EXPECT_EQ(filter_text(c.input, "Screen"), c.screen) << c.name;
        EXPECT_EQ(filter_text(c.input, "Printer"), c.input) << c.name;
    }
}

TEST_F(FilterText, TargetIsScreenOnlyWhenSpelledExactly) {
    const std::string vertical = bytes({211});
    EXPECT_EQ(filter_text(vertical, "Screen"), "|");
    EXPECT_EQ(filter_text(vertical, "screen"), vertical);
    EXPECT_EQ(filter_text(vertical, "SCREEN"), vertical);
    EXPECT_EQ(filter_text(vertical, ""), vertical);
}

TEST_F(FilterText, OnlyTheFirstPageBreakCounts) {
    EXPECT_EQ(filter_text(bytes({'a', 12, 'b', 12, 13, 'c', 12, 13}), "Printer"), "ab");
    EXPECT_EQ(filter_text(bytes({12, 13}), "Screen"), "");
    EXPECT_EQ(filter_text(bytes({'a', 12}), "Screen"), "a");
}

TEST_F(FilterText, WithoutAPlanTheBoldMarkerPasses) {
    job().SkipChar.clear();
    EXPECT_EQ(filter_text(bytes({2, 'a'}), "Printer"), bytes({2, 'a'}));
}

TEST_F(FilterText, LongTextsAreNotCut) {
    const std::string text(40000, 'x');
    EXPECT_EQ(filter_text(text, "Screen").size(), 40000u);
}

} // namespace
} // namespace kvalon
