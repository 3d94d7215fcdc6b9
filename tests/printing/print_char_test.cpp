#include "engine/print_job.h"
#include "printing/box_geometry.h"
#include "printing/print_char.h"
#include "tests/support/recording_surface.h"

#include <gtest/gtest.h>

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

// The double strokes of each character, as seen from the cell: which of its
// four sides each pair reaches, and that every stroke stays inside the cell.
TEST_F(PrintChar, DoubleLineBoxCharactersJoinTheirNeighboursAtTheEdges) {
    struct Case {
        unsigned char code;
        bool left, right, up, down;
        int strokes;
    };
    const Case cases[] = {
        {205, true, true, false, false, 2}, {199, false, false, true, true, 2},
        {201, false, true, false, true, 4}, {215, true, false, false, true, 4},
        {200, false, true, true, false, 4}, {216, true, false, true, false, 4},
        {203, true, true, false, true, 5},  {202, true, true, true, false, 5},
        {204, false, true, true, true, 5},  {198, true, false, true, true, 5},
        {206, true, true, true, true, 8},
    };
    const float w = 2, h = 4;
    for (const Case& c : cases) {
        const auto box = box_strokes(c.code, w, h);
        ASSERT_TRUE(box) << int(c.code);
        EXPECT_EQ(box->count, c.strokes) << int(c.code);
        int at_left = 0, at_right = 0, at_top = 0, at_bottom = 0;
        for (int i = 0; i < box->count; ++i) {
            const Segment& s = box->segments[static_cast<std::size_t>(i)];
            for (const float x : {s.x1, s.x2}) {
                EXPECT_GE(x, 0) << int(c.code);
                EXPECT_LE(x, w) << int(c.code);
                at_left += x == 0 && s.y1 == s.y2;
                at_right += x == w && s.y1 == s.y2;
            }
            for (const float y : {s.y1, s.y2}) {
                EXPECT_GE(y, 0) << int(c.code);
                EXPECT_LE(y, h) << int(c.code);
                at_top += y == 0 && s.x1 == s.x2;
                at_bottom += y == h && s.x1 == s.x2;
            }
        }
        // A side a frame continues through is met by exactly two strokes.
        EXPECT_EQ(at_left, c.left ? 2 : 0) << int(c.code);
        EXPECT_EQ(at_right, c.right ? 2 : 0) << int(c.code);
        EXPECT_EQ(at_top, c.up ? 2 : 0) << int(c.code);
        EXPECT_EQ(at_bottom, c.down ? 2 : 0) << int(c.code);
        const auto drawn = draw(c.code);
        EXPECT_EQ(static_cast<int>(drawn.size()), c.strokes) << int(c.code);
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
