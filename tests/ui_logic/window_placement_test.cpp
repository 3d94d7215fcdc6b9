#include "ui/window_placement.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace kvalon {

void PrintTo(const WindowPlace& p, std::ostream* out) {
    *out << place_text(p);
}
void PrintTo(const WindowRect& r, std::ostream* out) {
    *out << r.left << "," << r.top << " " << r.width << "x" << r.height;
}

namespace testing {
namespace {

// The menu window's frame as the windows have it: 536 × 425 with its title
// bar, the print data inside it.
constexpr int kMenuWidth = 536;
constexpr int kMenuHeight = 425;
const FrameMargins kMargins{1, 20, 1, 5};

WindowRect menu_at(int left, int top) {
    return {left, top, kMenuWidth, kMenuHeight};
}

PreviewRoom room_of(std::vector<WindowRect> screens, const WindowRect& menu) {
    PreviewRoom room;
    room.screens = std::move(screens);
    room.menu = menu;
    room.print_data = {menu.left + 57, menu.top + 45, 449, 345};
    room.margins = kMargins;
    room.width = 1100;
    room.height = 760;
    room.least_width = 640;
    room.least_height = 300;
    return room;
}

WindowRect frame_of(const WindowPlace& p) {
    return {p.left, p.top, p.width + kMargins.left + kMargins.right,
            p.height + kMargins.top + kMargins.bottom};
}

TEST(WindowPlacement, ThePreviewLeavesThePrintDataInView) {
    const WindowRect full_hd{0, 0, 1920, 1080};
    const WindowRect sxga{0, 0, 1280, 1024};
    const WindowRect xga{0, 0, 1024, 768};
    const struct {
        const char* what;
        std::vector<WindowRect> screens;
        WindowRect menu;
        WindowPlace preview;
        WindowRect menu_after; // where the menu window must move to
        bool covers = false;   // the screen is too small to leave the print data whole
    } cases[] = {
        {"right of the menu, whole", {full_hd}, menu_at(100, 100), {644, 100, 1100, 760}, {}},
        {"left of a menu at the right edge",
         {full_hd},
         menu_at(1300, 100),
         {190, 100, 1100, 760},
         {}},
        {"a menu low on the screen: the preview's top stays on it",
         {full_hd},
         menu_at(100, 600),
         {644, 295, 1100, 760},
         {}},
        {"shrunk to the room right of the menu", {sxga}, menu_at(0, 100), {544, 100, 734, 760}, {}},
        {"a menu in the middle moves aside as little as it must",
         {sxga},
         menu_at(372, 299),
         {544, 239, 734, 760},
         menu_at(0, 299)},
        {"a narrow screen: the menu to the top, the preview below it",
         {xga},
         menu_at(244, 171),
         {0, 433, 1022, 310},
         menu_at(244, 0)},
        {"whole on the other screen rather than shrunk",
         {sxga, {1280, 0, 1920, 1080}},
         menu_at(372, 299),
         {1689, 147, 1100, 760},
         {}},
        {"a screen left of the primary one",
         {{-1920, 0, 1920, 1080}, full_hd},
         menu_at(-600, 100),
         {-1710, 100, 1100, 760},
         {}},
        {"too low for both: below the print data, over the menu's status line",
         {{0, 0, 1024, 750}},
         menu_at(244, 0),
         {0, 398, 1022, 327},
         {}},
        {"too small for anything: least size, covering the least of the print data",
         {{0, 0, 800, 600}},
         menu_at(100, 50),
         {100, 275, 640, 300},
         {},
         true},
    };
    for (const auto& c : cases) {
        const PreviewRoom room = room_of(c.screens, c.menu);
        const PreviewPlacement placed = place_preview(room);
        EXPECT_EQ(placed.preview, c.preview) << c.what;
        const WindowRect menu_after = c.menu_after.empty() ? c.menu : c.menu_after;
        EXPECT_EQ(placed.menu, menu_after) << c.what;
        const WindowRect print_data{menu_after.left + 57, menu_after.top + 45, 449, 345};
        if (!c.covers) {
            EXPECT_FALSE(intersects(frame_of(placed.preview), print_data)) << c.what;
        }
    }
}

// A place the user left the preview in is taken again while it is on a
// screen and leaves the print data in view, its size kept to the screen.
TEST(WindowPlacement, ARememberedPlaceIsTakenOnlyWhereItCanBe) {
    const PreviewRoom room = room_of({{0, 0, 1920, 1080}}, menu_at(100, 100));
    const struct {
        const char* what;
        WindowPlace remembered;
        std::optional<WindowPlace> taken;
    } cases[] = {
        {"beside the menu", {700, 50, 900, 700}, WindowPlace{700, 50, 900, 700}},
        {"larger than the screen now", {700, 0, 2400, 1500}, WindowPlace{700, 0, 1918, 1055}},
        {"half off the right edge", {1800, 50, 900, 700}, WindowPlace{1800, 50, 900, 700}},
        {"on a screen that is gone", {2500, 50, 900, 700}, std::nullopt},
        {"its title bar above the screen", {700, -10, 900, 700}, std::nullopt},
        {"over the print data", {300, 200, 900, 700}, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(remembered_preview_place(room, c.remembered), c.taken) << c.what;
    }
}

TEST(WindowPlacement, APlaceIsRememberedAsTextAndReadBack) {
    const WindowPlace place{-1800, 20, 1100, 760};
    EXPECT_EQ(place_from_text(place_text(place)), place);
    for (const char* text : {"", "1,2,3", "1,2,3,4,", "a,2,3,4", "1,2,0,4", "1, 2,3,4"}) {
        EXPECT_EQ(place_from_text(text), std::nullopt) << text;
    }
}

} // namespace
} // namespace testing
} // namespace kvalon
