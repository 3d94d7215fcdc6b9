#pragma once

#include <QRect>

namespace kvalon {

// Window geometry is designed in twips, 1440 to the inch; the screen's logical
// resolution turns it into pixels, so the windows keep their designed size on
// a screen set to a larger font scale.
int twips_to_pixels_x(int twips);
int twips_to_pixels_y(int twips);
QRect twips_rect(int left, int top, int width, int height);

} // namespace kvalon
