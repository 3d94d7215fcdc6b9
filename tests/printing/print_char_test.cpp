#include "engine/box_arms.h"
#include "engine/code_page.h"
#include "engine/print_job.h"
#include "printing/box_geometry.h"
#include "printing/print_char.h"
#include "tests/support/recording_surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace kvalon {
namespace {

using testing::RecordingSurface;

// Cells 2 mm wide and 4 mm high; the cell at (10, 20).
class PrintChar : public ::testing::Test {
protected:
    void SetUp() override {
        reset_job();
        job().CharWidth = 2;
        job().LineHeight = 4;
        job().SkipChar = "\x02";
        set_printer(&surface);
        surface.set_draw_width(1);
        surface.set_current_x(10);
        surface.set_current_y(20);
    }
    void TearDown() override { set_printer(nullptr); }

    std::vector<std::string> draw(unsigned char code) {
        surface.log.clear();
        surface.set_current_x(10);
        surface.set_current_y(20);
        print_char(std::string(1, static_cast<char>(code)));
        return surface.log;
    }

    RecordingSurface surface;
};

TEST_F(PrintChar, SingleLineBoxCharactersAreTheirSegments) {
    struct Case {
        unsigned char code;
        std::vector<std::string> segments;
    };
    // w/2 = 1, h/2 = 2; up to y - h/2 = 18, down to y + 3h/2 = 26; tees reach x + 3w/2 = 13.
    const Case cases[] = {
        {218, {"Line 11.00 22.00 12.00 22.00 w=4", "Line 11.00 22.00 11.00 26.00 w=4"}},
        {196, {"Line 10.00 22.00 12.00 22.00 w=4"}},
        {194, {"Line 10.00 22.00 13.00 22.00 w=4", "Line 11.00 22.00 11.00 26.00 w=4"}},
        {207, {"Line 10.00 22.00 11.00 22.00 w=4", "Line 11.00 22.00 11.00 26.00 w=4"}},
        {211, {"Line 11.00 18.00 11.00 26.00 w=4"}},
        {195, {"Line 11.00 18.00 11.00 26.00 w=4", "Line 11.00 22.00 12.00 22.00 w=4"}},
        {197, {"Line 11.00 18.00 11.00 26.00 w=4", "Line 10.00 22.00 13.00 22.00 w=4"}},
        {212, {"Line 11.00 18.00 11.00 26.00 w=4", "Line 10.00 22.00 11.00 22.00 w=4"}},
        {192, {"Line 11.00 18.00 11.00 22.00 w=4", "Line 11.00 22.00 12.00 22.00 w=4"}},
        {193, {"Line 10.00 22.00 13.00 22.00 w=4", "Line 11.00 18.00 11.00 22.00 w=4"}},
        {217, {"Line 10.00 22.00 11.00 22.00 w=4", "Line 11.00 18.00 11.00 22.00 w=4"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(draw(c.code), c.segments) << int(c.code);
        EXPECT_FLOAT_EQ(surface.current_x(), 12) << int(c.code);
        EXPECT_FLOAT_EQ(surface.current_y(), 20) << int(c.code);
        EXPECT_EQ(surface.draw_width(), 1) << int(c.code);
    }
}

// Every box character of every code page, as seen from its cell: each side
// an arm crosses is reached by one stroke on the middle line (single) or two
// on either side of it (double), and no other side is reached, so frames of
// any mix of lines join their neighbours.
TEST_F(PrintChar, EveryBoxCharacterReachesTheSidesItsArmsCross) {
    const float w = 2, h = 4;
    const float d = double_line_offset(w, h);
    std::set<char32_t> characters;
    for (std::size_t page = 0; page < kCodePageCount; ++page) {
        for (int code = 128; code < 256; ++code) {
            const char32_t c =
                character_of(static_cast<CodePageId>(page), static_cast<unsigned char>(code));
            if (box_arms(c)) {
                characters.insert(c);
            }
        }
    }
    EXPECT_EQ(characters.size(), 40u);
    const auto expected = [&](Arm arm, float middle) {
        if (arm == Arm::None) {
            return std::multiset<float>{};
        }
        return arm == Arm::Single ? std::multiset<float>{middle}
                                  : std::multiset<float>{middle - d, middle + d};
    };
    for (const char32_t c : characters) {
        const BoxArms arms = *box_arms(c);
        const auto box = box_strokes(c, w, h);
        ASSERT_TRUE(box) << std::hex << static_cast<unsigned>(c);
        std::multiset<float> left, right, top, bottom; // where strokes cross each side
        for (int i = 0; i < box->count; ++i) {
            const Segment& s = box->segments[static_cast<std::size_t>(i)];
            if (s.y1 == s.y2) {
                if (std::min(s.x1, s.x2) <= 0) {
                    left.insert(s.y1);
                }
                if (std::max(s.x1, s.x2) >= w) {
                    right.insert(s.y1);
                }
            } else {
                if (std::min(s.y1, s.y2) <= 0) {
                    top.insert(s.x1);
                }
                if (std::max(s.y1, s.y2) >= h) {
                    bottom.insert(s.x1);
                }
            }
        }
        EXPECT_EQ(left, expected(arms.left, h / 2)) << std::hex << static_cast<unsigned>(c);
        EXPECT_EQ(right, expected(arms.right, h / 2)) << std::hex << static_cast<unsigned>(c);
        EXPECT_EQ(top, expected(arms.up, w / 2)) << std::hex << static_cast<unsigned>(c);
        EXPECT_EQ(bottom, expected(arms.down, w / 2)) << std::hex << static_cast<unsigned>(c);
    }
}

TEST_F(PrintChar, ShadesAndBlocksFillTheirPartOfTheCell) {
    struct Case {
        unsigned char code;
        const char* fill;
    };
    const Case cases[] = {
        {208, "Fill 10.00 20.00 2.00 4.00 grey=191"}, {209, "Fill 10.00 20.00 2.00 4.00 grey=128"},
        {210, "Fill 10.00 20.00 2.00 4.00 grey=64"},  {219, "Fill 10.00 20.00 2.00 4.00 grey=0"},
        {220, "Fill 10.00 22.00 2.00 2.00 grey=0"},   {221, "Fill 10.00 20.00 1.00 4.00 grey=0"},
        {222, "Fill 11.00 20.00 1.00 4.00 grey=0"},   {223, "Fill 10.00 20.00 2.00 2.00 grey=0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(draw(c.code), std::vector<std::string>{c.fill}) << int(c.code);
        EXPECT_FLOAT_EQ(surface.current_x(), 12);
    }
}

TEST_F(PrintChar, OtherCharactersPrintTheirTextInOneCell) {
    struct Case {
        unsigned char code;
        const char* text; // empty: nothing printed
    };
    const Case cases[] = {
        {'A', "A"}, {' ', " "}, {128, "А"}, {191, "я"}, {160, "а"}, {176, "р"},
        {213, "N"}, {214, "§"}, {224, "α"}, {241, "±"}, {248, "°"}, {253, "²"},
        {254, "■"}, {255, " "}, {27, ""},   {2, ""},    {15, ""},   {18, ""},
        {12, ""},   {9, ""},    {0, ""},    {127, ""},  {95, "_"},
    };
    for (const Case& c : cases) {
        const auto drawn = draw(c.code);
        if (*c.text == '\0') {
            EXPECT_TRUE(drawn.empty()) << int(c.code);
        } else {
            EXPECT_EQ(drawn, std::vector<std::string>{std::string("Print x=10.00 y=20.00 \"") +
                                                      c.text + "\" bold=0"})
                << int(c.code);
        }
        EXPECT_FLOAT_EQ(surface.current_x(), 12) << int(c.code);
        EXPECT_FLOAT_EQ(surface.current_y(), 20) << int(c.code);
    }
}

TEST_F(PrintChar, LineFeedStartsTheNextLineAndCarriageReturnDoesNothing) {
    EXPECT_TRUE(draw('\r').empty());
    EXPECT_FLOAT_EQ(surface.current_x(), 10);
    EXPECT_FLOAT_EQ(surface.current_y(), 20);
    EXPECT_EQ(draw('\n'), std::vector<std::string>{"Print x=10.00 y=20.00 \"\" bold=0 nl"});
    EXPECT_FLOAT_EQ(surface.current_x(), 0);
    EXPECT_GT(surface.current_y(), 20);
    EXPECT_EQ(surface.draw_width(), 1);
}

} // namespace
} // namespace kvalon
