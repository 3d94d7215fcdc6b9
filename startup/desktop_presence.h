#pragma once

namespace kvalon {

// Whether windows could be shown: a display (DISPLAY, WAYLAND_DISPLAY) or a
// platform the caller chose (QT_QPA_PLATFORM: a test driving the windows off
// screen, a VNC session). Windows nobody can see would wait for a click
// forever.
bool has_desktop();

// Whether a message box would be seen: a desktop on a platform other than
// offscreen or minimal, where no one could press OK.
bool shows_message_boxes();

} // namespace kvalon
