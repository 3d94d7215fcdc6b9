#include "printing/stroke_merging.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

namespace kvalon {

bool operator==(const Stroke& a, const Stroke& b) {
    return std::tie(a.x1, a.y1, a.x2, a.y2, a.width) == std::tie(b.x1, b.y1, b.x2, b.y2, b.width);
}

namespace {

std::vector<Stroke> sorted(std::vector<Stroke> lines) {
    std::sort(lines.begin(), lines.end(), [](const Stroke& a, const Stroke& b) {
        return std::tie(a.x1, a.y1, a.x2, a.y2, a.width) <
               std::tie(b.x1, b.y1, b.x2, b.y2, b.width);
    });
    return lines;
}

constexpr double kTouching = 0.01;

TEST(StrokeMerging, JoinsTouchingAndOverlappingStrokesOfOneRowOrColumn) {
    const std::vector<Stroke> strokes = {
        {0, 5, 10, 5, 1},  {10, 5, 20, 5, 1}, {15, 5, 30, 5, 1}, // one row, touching, overlapping
        {40, 5, 50, 5, 1},                                       // same row after a gap
        {30, 5, 35, 5, 2},                                       // same row, another width
        {0, 9, 10, 9, 1},                                        // another row
        {7, 0, 7, 10, 1},  {7, 5, 7, 20, 1},                     // one column, overlapping
        {7, 30, 7, 40, 1},                                       // same column after a gap
        {0, 0, 3, 4, 1},                                         // slanted: untouched
    };
    const std::vector<Stroke> expected = {
        {0, 0, 3, 4, 1},   {0, 5, 30, 5, 1},  {0, 9, 10, 9, 1},  {7, 0, 7, 20, 1},
        {7, 30, 7, 40, 1}, {40, 5, 50, 5, 1}, {30, 5, 35, 5, 2},
    };
    EXPECT_EQ(sorted(merge_collinear(strokes, kTouching)), sorted(expected));
}

TEST(StrokeMerging, ReversedStrokesAreJoinedToo) {
    const std::vector<Stroke> strokes = {{10, 5, 0, 5, 1}, {20, 5, 10, 5, 1}};
    EXPECT_EQ(merge_collinear(strokes, kTouching), (std::vector<Stroke>{{0, 5, 20, 5, 1}}));
}

} // namespace
} // namespace kvalon
