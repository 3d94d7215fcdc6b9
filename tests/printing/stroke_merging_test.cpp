#include "printing/qt/stroke_merging.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kvalon {
namespace {

std::vector<QLineF> sorted(std::vector<QLineF> lines) {
    std::sort(lines.begin(), lines.end(), [](const QLineF& a, const QLineF& b) {
        return std::make_tuple(a.x1(), a.y1(), a.x2(), a.y2()) <
               std::make_tuple(b.x1(), b.y1(), b.x2(), b.y2());
    });
    return lines;
}

TEST(StrokeMerging, JoinsTouchingAndOverlappingStrokesOfOneRowOrColumn) {
    const std::vector<QLineF> strokes = {
        {0, 5, 10, 5},  {10, 5, 20, 5}, {15, 5, 30, 5}, // one row, touching and overlapping
        {40, 5, 50, 5},                                 // same row after a gap
        {0, 9, 10, 9},                                  // another row
        {7, 0, 7, 10},  {7, 5, 7, 20},                  // one column, overlapping
        {7, 30, 7, 40},                                 // same column after a gap
        {0, 0, 3, 4},                                   // slanted: untouched
    };
    const std::vector<QLineF> expected = {
        {0, 0, 3, 4}, {0, 5, 30, 5}, {0, 9, 10, 9}, {7, 0, 7, 20}, {7, 30, 7, 40}, {40, 5, 50, 5},
    };
    EXPECT_EQ(sorted(merge_collinear(strokes)), sorted(expected));
}

TEST(StrokeMerging, ReversedStrokesAreJoinedToo) {
    const std::vector<QLineF> strokes = {{10, 5, 0, 5}, {20, 5, 10, 5}};
    EXPECT_EQ(merge_collinear(strokes), (std::vector<QLineF>{{0, 5, 20, 5}}));
}

} // namespace
} // namespace kvalon
