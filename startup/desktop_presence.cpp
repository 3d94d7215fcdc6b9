#include "startup/desktop_presence.h"

#include <cstdlib>
#include <string_view>

namespace kvalon {

namespace {

bool is_set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

} // namespace

bool has_desktop() {
    return is_set("DISPLAY") || is_set("WAYLAND_DISPLAY") || is_set("QT_QPA_PLATFORM");
}

// Without a display and a chosen platform the windows program starts off
// screen; a list of platforms ("xcb;offscreen") is judged by its first.
bool shows_message_boxes() {
    if (const char* chosen = std::getenv("QT_QPA_PLATFORM"); chosen != nullptr) {
        const std::string_view platform(chosen);
        return !platform.empty() && !platform.starts_with("offscreen") &&
               !platform.starts_with("minimal");
    }
    return is_set("DISPLAY") || is_set("WAYLAND_DISPLAY");
}

} // namespace kvalon
