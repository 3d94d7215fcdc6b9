#include "ui/qt/twips.h"

#include "engine/units.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace kvalon {

namespace {
int to_pixels(int twips, double dots_per_inch) {
    return static_cast<int>(std::lround(twips * dots_per_inch / TwipsPerInch));
}

const QScreen* screen() {
    return QGuiApplication::primaryScreen();
}
} // namespace

int twips_to_pixels_x(int twips) {
    return to_pixels(twips, screen() ? screen()->logicalDotsPerInchX() : 96.0);
}

int twips_to_pixels_y(int twips) {
    return to_pixels(twips, screen() ? screen()->logicalDotsPerInchY() : 96.0);
}

QRect twips_rect(int left, int top, int width, int height) {
    return QRect(twips_to_pixels_x(left), twips_to_pixels_y(top), twips_to_pixels_x(width),
                 twips_to_pixels_y(height));
}

} // namespace kvalon
