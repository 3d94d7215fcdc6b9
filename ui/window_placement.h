#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kvalon {

// A rectangle on the desktop, in the toolkit's logical pixels: `left` and
// `top` inclusive, `width` and `height` wide (an empty rectangle has none).
struct WindowRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int right() const { return left + width; }  // the first column past it
    int bottom() const { return top + height; } // the first row below it
    bool empty() const { return width <= 0 || height <= 0; }
    bool operator==(const WindowRect&) const = default;
};

// The part two rectangles share; empty when they share none.
WindowRect intersection(const WindowRect& a, const WindowRect& b);
bool intersects(const WindowRect& a, const WindowRect& b);

// What the window system's frame adds around a window's client area.
struct FrameMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// What the preview is placed among.
struct PreviewRoom {
    // The screens' areas free for windows (without panels and task bars).
    std::vector<WindowRect> screens;
    // The menu window's frame, title bar included.
    WindowRect menu;
    // The menu window's print data, which the preview must leave in view.
    WindowRect print_data;
    // The frame the preview gets around its client area.
    FrameMargins margins;
    // The client size the preview would like, and the least it can show a
    // page and its buttons in.
    int width = 0;
    int height = 0;
    int least_width = 0;
    int least_height = 0;
};

// Where a window is: its frame's top-left corner and its client size, as
// the toolkit moves and sizes a window.
struct WindowPlace {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const WindowPlace&) const = default;
};

// Where the preview goes, and where the menu window goes with it (its
// frame; where it is unless it must make room).
struct PreviewPlacement {
    WindowPlace preview;
    WindowRect menu;
};

// The preview beside the menu window on the menu's screen (right, left,
// below, above, in that order when it fits whole; else where the most of it
// fits), or whole on another screen; shrunk to what is there, never below its
// least size. When the menu window stands where there is no such room but
// its screen has room for both, the menu window moves aside as little as it
// must. When the screen is too small for both, beside the print data over
// the rest of the menu window; and on a screen too small even for that, at
// its least size where it covers the least of the print data.
PreviewPlacement place_preview(const PreviewRoom& room);

// A remembered place of the preview that leaves the print data in view and
// is on a screen, its size kept within that screen; nothing when there is
// none such.
std::optional<WindowPlace> remembered_preview_place(const PreviewRoom& room,
                                                    const WindowPlace& remembered);

// Whether a window whose frame starts at the place's corner and holds its
// client size can be taken by its title bar on one of `screens`.
bool is_on_a_screen(const WindowPlace& place, const std::vector<WindowRect>& screens);

// The text a place is remembered as ("120,80,1100,760") and back; nothing
// for a text that is no place.
std::string place_text(const WindowPlace& place);
std::optional<WindowPlace> place_from_text(const std::string& text);

} // namespace kvalon
