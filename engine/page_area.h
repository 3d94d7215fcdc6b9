#pragma once

namespace kvalon {

// A rectangle on the page in millimetres from its top-left corner, as the
// page lies.
struct PageArea {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
    bool empty() const { return right <= left || bottom <= top; }
    bool operator==(const PageArea&) const = default;
};

} // namespace kvalon
