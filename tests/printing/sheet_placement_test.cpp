#include "printing/sheet_placement.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kvalon::testing {
namespace {

constexpr double kPixel = 25.4 / 600;
const MediaMargins kQuarterInch{6.35, 6.35, 6.35, 6.35};

// Where the cells of a report lie on an A4 sheet, and where they must go on a
// printer with these margins.
struct PlacementCase {
    const char* what;
    PageArea cells;
    bool landscape;
    MediaMargins margins;
    double right_mm;
    double down_mm;
    bool whole;
};

TEST(SheetPlacement, MovesCellsInsideTheMarginsAndOnlyAsFarAsNeeded) {
    const PlacementCase cases[] = {
        {"inside already", {20, 10, 190, 280}, false, kQuarterInch, 0, 0, true},
        {"6 pt: two empty lines are 4.8 mm",
         {20, 4.8, 190, 200},
         false,
         kQuarterInch,
         0,
         1.55,
         true},
        {"too far right and down", {20, 20, 205, 295}, false, kQuarterInch, -1.35, -4.35, true},
        {"left edge", {2, 20, 100, 100}, false, MediaMargins{6.35, 6.35, 3.4, 3.4}, 1.4, 0, true},
        // Turned one way or the other: the page's top lands on the sheet's
        // left or right edge, whichever has the wider margin counts.
        {"landscape top", {15, 4.8, 280, 180}, true, MediaMargins{1, 12, 3.4, 6.35}, 0, 1.55, true},
        {"landscape right", {20, 20, 292, 180}, true, MediaMargins{1, 7, 3.4, 3.4}, -2, 0, true},
        {"wider than printed", {3, 20, 208, 100}, false, kQuarterInch, 0, 0, false},
        {"too tall, moved across", {2, 1, 100, 296}, false, kQuarterInch, 4.35, 0, false},
        {"nothing planned", PageArea{}, false, kQuarterInch, 0, 0, true},
    };
    for (const PlacementCase& c : cases) {
        const double width = c.landscape ? 297 : 210;
        const double height = c.landscape ? 210 : 297;
        const PagePlacement placement =
            place_within_margins(c.cells, width, height, c.landscape, c.margins, 600);
        EXPECT_EQ(placement.whole, c.whole) << c.what;
        // Whole device pixels, never less than needed.
        EXPECT_GE(std::abs(placement.right_mm), std::abs(c.right_mm) - 1e-9) << c.what;
        EXPECT_LT(std::abs(placement.right_mm), std::abs(c.right_mm) + kPixel) << c.what;
        EXPECT_GE(std::abs(placement.down_mm), std::abs(c.down_mm) - 1e-9) << c.what;
        EXPECT_LT(std::abs(placement.down_mm), std::abs(c.down_mm) + kPixel) << c.what;
        EXPECT_GE(placement.right_mm * c.right_mm, 0) << c.what;
        EXPECT_GE(placement.down_mm * c.down_mm, 0) << c.what;
        const double pixels = placement.down_mm / kPixel;
        EXPECT_NEAR(pixels, std::round(pixels), 1e-6) << c.what;
    }
}

TEST(SheetPlacement, MovesEverythingDrawnTogether) {
    PageDescription page;
    page.cells = {10, 5, 100, 50};
    page.fills.push_back({10, 5, 2, 3, 128});
    page.runs.push_back({0, 8, {{U'А', 10}, {U'Б', 12}}});
    page.strokes.push_back({10, 5, 20, 5, 0.2});
    page.images.push_back({30, 40, 5, 6, BitImage(8, 8)});
    move_page(page, PagePlacement{1.5, 2, true});
    EXPECT_DOUBLE_EQ(page.images[0].x, 31.5);
    EXPECT_DOUBLE_EQ(page.images[0].y, 42);
    EXPECT_EQ(page.cells, (PageArea{11.5, 7, 101.5, 52}));
    EXPECT_DOUBLE_EQ(page.fills[0].x, 11.5);
    EXPECT_DOUBLE_EQ(page.fills[0].y, 7);
    EXPECT_DOUBLE_EQ(page.runs[0].baseline, 10);
    EXPECT_DOUBLE_EQ(page.runs[0].glyphs[1].x, 13.5);
    EXPECT_DOUBLE_EQ(page.strokes[0].x2, 21.5);
    EXPECT_DOUBLE_EQ(page.strokes[0].y2, 7);
}

TEST(SheetPlacement, CellsOfThePlanAreTheIndentedLinesBelowTheTwoEmptyOnes) {
    PrintJob j;
    j.CharWidth = 2;
    j.LineHeight = 4;
    j.LeftIndent = 3;
    j.CharsPerLine = 80;
    j.LinesPerPage = 60;
    j.LongestLine = 52; // 50 cells
    EXPECT_EQ(planned_cell_area(j), (PageArea{6, 8, 106, 248}));
    j.LongestLine = 300; // cut at CharsPerLine
    EXPECT_EQ(planned_cell_area(j).right, 166);
    EXPECT_TRUE(planned_cell_area(PrintJob{}).empty());
    // The ESC/P mode's page: 8 inches by 11 at half its size, from (10, 10).
    j.Escp.emplace();
    j.Escp->Width = 8 * 3600;
    j.Escp->FormLength = 11 * 3600;
    j.Escp->Scale = 0.5;
    j.Escp->LeftMm = 10;
    j.Escp->TopMm = 10;
    const PageArea page = planned_cell_area(j);
    EXPECT_DOUBLE_EQ(page.right, 10 + 101.6);
    EXPECT_DOUBLE_EQ(page.bottom, 10 + 139.7);
}

} // namespace
} // namespace kvalon::testing
