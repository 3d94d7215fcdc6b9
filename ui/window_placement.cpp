#include "ui/window_placement.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace kvalon {

namespace {

// Between the windows, so that their frames do not touch.
constexpr int kGap = 8;
// The part of a window's top the user takes it by: a remembered place whose
// title bar shows less than this on every screen is off the screens now.
constexpr int kTitleHeight = 24;
constexpr int kTitleWidth = 100;

enum class Side { Right, Left, Below, Above };
constexpr Side kSides[] = {Side::Right, Side::Left, Side::Below, Side::Above};

struct Size {
    int width = 0;
    int height = 0;
};

std::int64_t area_of(const WindowRect& r) {
    return r.empty() ? 0 : static_cast<std::int64_t>(r.width) * r.height;
}

int clamped(int value, int low, int high) {
    return std::max(low, std::min(value, high));
}

// The screen that holds the most of `r`; the first when none holds any.
const WindowRect& screen_of(const WindowRect& r, const std::vector<WindowRect>& screens) {
    const auto most = std::max_element(
        screens.begin(), screens.end(), [&r](const WindowRect& a, const WindowRect& b) {
            return area_of(intersection(a, r)) < area_of(intersection(b, r));
        });
    return area_of(intersection(*most, r)) > 0 ? *most : screens.front();
}

// The strip of `screen` on one side of `obstacle`, a gap away from it.
WindowRect room_beside(const WindowRect& screen, const WindowRect& obstacle, Side side) {
    WindowRect room = screen;
    switch (side) {
    case Side::Right:
        room.left = std::max(screen.left, obstacle.right() + kGap);
        room.width = screen.right() - room.left;
        break;
    case Side::Left:
        room.width = std::min(screen.right(), obstacle.left - kGap) - screen.left;
        break;
    case Side::Below:
        room.top = std::max(screen.top, obstacle.bottom() + kGap);
        room.height = screen.bottom() - room.top;
        break;
    case Side::Above:
        room.height = std::min(screen.bottom(), obstacle.top - kGap) - screen.top;
        break;
    }
    return room;
}

// A frame of at most `wanted` in `room` on `side` of what it keeps clear of,
// as near to the menu window's corner (`anchor`) as the room allows.
WindowRect frame_in(const WindowRect& room, Side side, const Size& wanted,
                    const WindowRect& anchor) {
    WindowRect frame{0, 0, std::min(wanted.width, room.width),
                     std::min(wanted.height, room.height)};
    frame.left = side == Side::Left ? room.right() - frame.width : room.left;
    frame.top = side == Side::Above ? room.bottom() - frame.height : room.top;
    if (side == Side::Right || side == Side::Left) {
        frame.top = clamped(anchor.top, room.top, room.bottom() - frame.height);
    } else {
        frame.left = clamped(anchor.left, room.left, room.right() - frame.width);
    }
    return frame;
}

WindowRect centred_in(const WindowRect& screen, const Size& wanted) {
    WindowRect frame{0, 0, std::min(wanted.width, screen.width),
                     std::min(wanted.height, screen.height)};
    frame.left = screen.left + (screen.width - frame.width) / 2;
    frame.top = screen.top + (screen.height - frame.height) / 2;
    return frame;
}

bool holds(const WindowRect& frame, const Size& size) {
    return frame.width >= size.width && frame.height >= size.height;
}

// Of the frames that hold the least size, the first that holds the whole
// wanted size, else the largest; nothing when none holds the least.
std::optional<WindowRect> best_of(const std::vector<WindowRect>& frames, const Size& wanted,
                                  const Size& least) {
    std::optional<WindowRect> best;
    for (const WindowRect& frame : frames) {
        if (!holds(frame, least)) {
            continue;
        }
        if (holds(frame, wanted)) {
            return frame;
        }
        if (!best || area_of(frame) > area_of(*best)) {
            best = frame;
        }
    }
    return best;
}

std::vector<WindowRect> frames_beside(const WindowRect& screen, const WindowRect& obstacle,
                                      const Size& wanted, const WindowRect& anchor) {
    std::vector<WindowRect> frames;
    for (const Side side : kSides) {
        frames.push_back(frame_in(room_beside(screen, obstacle, side), side, wanted, anchor));
    }
    return frames;
}

// A screen too small for the preview anywhere but over the print data: at
// one of its edges, where it covers the least of them.
WindowRect least_covering(const WindowRect& screen, const PreviewRoom& room, const Size& least) {
    const Size size{std::min(least.width, screen.width), std::min(least.height, screen.height)};
    std::optional<WindowRect> best;
    for (const Side side : kSides) {
        const WindowRect frame = frame_in(screen, side, size, room.menu);
        if (!best || area_of(intersection(frame, room.print_data)) <
                         area_of(intersection(*best, room.print_data))) {
            best = frame;
        }
    }
    return *best;
}

// The menu window moved along one axis, as little as gives the preview its
// wanted size there (or all there is, when that is at least its least
// size): the preview then beside it. Nothing when the screen is too small
// for both on that axis.
struct Moved {
    WindowRect menu;
    WindowRect preview;
};
std::optional<Moved> menu_moved_aside(const WindowRect& screen, const WindowRect& menu,
                                      const Size& wanted, const Size& least, bool across) {
    const int room = across ? screen.width - menu.width - kGap : screen.height - menu.height - kGap;
    const int need = across ? least.width : least.height;
    if (room < need) {
        return std::nullopt;
    }
    const int size = std::min(room, across ? wanted.width : wanted.height);
    const int start = across ? menu.left : menu.top;
    const int low = across ? screen.left : screen.top;
    const int high = across ? screen.right() : screen.bottom();
    const int length = across ? menu.width : menu.height;
    // The preview after the menu window, or before it, whichever moves the
    // menu window less.
    const int after = std::min(start, high - size - kGap - length);
    const int before = std::max(start, low + size + kGap);
    WindowRect moved = menu;
    (across ? moved.left : moved.top) = start - after <= before - start ? after : before;
    const Side side = across ? (moved.left == after ? Side::Right : Side::Left)
                             : (moved.top == after ? Side::Below : Side::Above);
    const WindowRect preview = frame_in(room_beside(screen, moved, side), side, wanted, moved);
    if (!holds(preview, least)) {
        return std::nullopt;
    }
    return Moved{moved, preview};
}

WindowPlace place_of(const WindowRect& frame, const FrameMargins& m) {
    return {frame.left, frame.top, frame.width - m.left - m.right, frame.height - m.top - m.bottom};
}

WindowRect frame_of(const WindowPlace& place, const FrameMargins& m) {
    return {place.left, place.top, place.width + m.left + m.right, place.height + m.top + m.bottom};
}

} // namespace

WindowRect intersection(const WindowRect& a, const WindowRect& b) {
    const int left = std::max(a.left, b.left);
    const int top = std::max(a.top, b.top);
    const int right = std::min(a.right(), b.right());
    const int bottom = std::min(a.bottom(), b.bottom());
    if (right <= left || bottom <= top) {
        return {};
    }
    return {left, top, right - left, bottom - top};
}

bool intersects(const WindowRect& a, const WindowRect& b) {
    return !intersection(a, b).empty();
}

PreviewPlacement place_preview(const PreviewRoom& room) {
    const FrameMargins& m = room.margins;
    const Size wanted{room.width + m.left + m.right, room.height + m.top + m.bottom};
    const Size least{std::min(room.least_width, room.width) + m.left + m.right,
                     std::min(room.least_height, room.height) + m.top + m.bottom};
    if (room.screens.empty()) {
        return {place_of({room.menu.right() + kGap, room.menu.top, wanted.width, wanted.height}, m),
                room.menu};
    }
    const WindowRect& screen = screen_of(room.menu, room.screens);
    std::vector<WindowRect> frames = frames_beside(screen, room.menu, wanted, room.menu);
    for (const WindowRect& other : room.screens) {
        if (!(other == screen)) {
            frames.push_back(centred_in(other, wanted));
        }
    }
    if (const std::optional<WindowRect> frame = best_of(frames, wanted, least)) {
        return {place_of(*frame, m), room.menu};
    }
    for (const bool across : {true, false}) {
        if (const std::optional<Moved> moved =
                menu_moved_aside(screen, room.menu, wanted, least, across)) {
            return {place_of(moved->preview, m), moved->menu};
        }
    }
    const std::optional<WindowRect> frame =
        best_of(frames_beside(screen, room.print_data, wanted, room.menu), wanted, least);
    return {place_of(frame ? *frame : least_covering(screen, room, least), m), room.menu};
}

std::optional<WindowPlace> remembered_preview_place(const PreviewRoom& room,
                                                    const WindowPlace& remembered) {
    if (!is_on_a_screen(remembered, room.screens)) {
        return std::nullopt;
    }
    const FrameMargins& m = room.margins;
    WindowRect frame = frame_of(remembered, m);
    const WindowRect& screen = screen_of(frame, room.screens);
    frame.width = std::min(frame.width, screen.width);
    frame.height = std::min(frame.height, screen.height);
    if (intersects(frame, room.print_data)) {
        return std::nullopt;
    }
    return place_of(frame, m);
}

bool is_on_a_screen(const WindowPlace& place, const std::vector<WindowRect>& screens) {
    const WindowRect title{place.left, place.top, place.width,
                           std::min(place.height, kTitleHeight)};
    if (title.empty()) {
        return false;
    }
    return std::any_of(screens.begin(), screens.end(), [&title](const WindowRect& screen) {
        const WindowRect shown = intersection(title, screen);
        return shown.height == title.height && shown.width >= std::min(title.width, kTitleWidth);
    });
}

std::string place_text(const WindowPlace& place) {
    return std::to_string(place.left) + "," + std::to_string(place.top) + "," +
           std::to_string(place.width) + "," + std::to_string(place.height);
}

std::optional<WindowPlace> place_from_text(const std::string& text) {
    int numbers[4] = {};
    const char* at = text.data();
    const char* end = text.data() + text.size();
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            if (at == end || *at != ',') {
                return std::nullopt;
            }
            ++at;
        }
        const auto [next, error] = std::from_chars(at, end, numbers[i]);
        if (error != std::errc()) {
            return std::nullopt;
        }
        at = next;
    }
    if (at != end || numbers[2] <= 0 || numbers[3] <= 0) {
        return std::nullopt;
    }
    return WindowPlace{numbers[0], numbers[1], numbers[2], numbers[3]};
}

} // namespace kvalon
