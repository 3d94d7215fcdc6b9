#include "printing/calibration_page.h"

#include "engine/messages.h"
#include "engine/units.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace kvalon {

namespace {

// Line widths in device pixels: the lines of every ten millimetres must
// stand out from the ticks at a glance.
constexpr int kTickPixels = 2;
constexpr int kTenthPixels = 4;
constexpr float kLabelPoints = 7;
constexpr float kHintPoints = 9;
// Ruler ticks from the sheet's top and left edges: each millimetre, longer
// each fifth; the labels stand below and right of the ticks.
constexpr float kTickMm = 2;
constexpr float kFifthTickMm = 3.5F;
constexpr float kLabelInsetMm = 4.5F;
constexpr float kLabelGapMm = 0.6F;
// Millimetre squares around the cross, for reading it to a fraction.
constexpr float kCrossGridMm = 15;

struct Box {
    float left, top, right, bottom;
};

void label_at(PrinterSurface& surface, float x, float y, const std::string& text) {
    surface.set_current_x(x);
    surface.set_current_y(y);
    surface.print(text, false);
}

// The hint stands on clear paper: lines stop at its box.
void line_around(PrinterSurface& surface, float x1, float y1, float x2, float y2, const Box& box) {
    const bool vertical = x1 == x2;
    const float at = vertical ? x1 : y1;
    const bool crosses =
        vertical ? (at > box.left && at < box.right) : (at > box.top && at < box.bottom);
    if (!crosses) {
        surface.line(x1, y1, x2, y2);
        return;
    }
    if (vertical) {
        surface.line(x1, y1, x1, box.top);
        surface.line(x1, box.bottom, x1, y2);
    } else {
        surface.line(x1, y1, box.left, y1);
        surface.line(box.right, y1, x2, y1);
    }
}

void draw_tenths(PrinterSurface& surface, float width_mm, float height_mm, const Box& hint) {
    surface.set_draw_width(kTenthPixels);
    for (int x = 0; static_cast<float>(x) <= width_mm; x += kCalibrationRulerStepMm) {
        line_around(surface, static_cast<float>(x), 0, static_cast<float>(x), height_mm, hint);
    }
    for (int y = 0; static_cast<float>(y) <= height_mm; y += kCalibrationRulerStepMm) {
        line_around(surface, 0, static_cast<float>(y), width_mm, static_cast<float>(y), hint);
    }
}

// Rulers along the top and the left edge: a tick each millimetre, each tenth
// named.
void draw_rulers(PrinterSurface& surface, float width_mm, float height_mm) {
    surface.set_draw_width(kTickPixels);
    for (int mm = 1; static_cast<float>(mm) < std::max(width_mm, height_mm); ++mm) {
        const auto at = static_cast<float>(mm);
        const float tick = mm % 5 == 0 ? kFifthTickMm : kTickMm;
        if (at < width_mm) {
            surface.line(at, 0, at, tick);
        }
        if (at < height_mm) {
            surface.line(0, at, tick, at);
        }
    }
    surface.set_font_size(kLabelPoints);
    for (int x = kCalibrationRulerStepMm; static_cast<float>(x) < width_mm;
         x += kCalibrationRulerStepMm) {
        label_at(surface, static_cast<float>(x) + kLabelGapMm, kLabelInsetMm, std::to_string(x));
    }
    for (int y = kCalibrationRulerStepMm; static_cast<float>(y) < height_mm;
         y += kCalibrationRulerStepMm) {
        label_at(surface, kLabelInsetMm, static_cast<float>(y) + kLabelGapMm, std::to_string(y));
    }
}

void draw_cross(PrinterSurface& surface) {
    constexpr auto cross = static_cast<float>(kCalibrationCrossMm);
    surface.set_draw_width(1);
    for (float mm = cross - kCrossGridMm; mm <= cross + kCrossGridMm; ++mm) {
        surface.line(mm, cross - kCrossGridMm, mm, cross + kCrossGridMm);
        surface.line(cross - kCrossGridMm, mm, cross + kCrossGridMm, mm);
    }
    surface.set_draw_width(kTenthPixels * 2);
    surface.line(cross - kCrossGridMm, cross, cross + kCrossGridMm, cross);
    surface.line(cross, cross - kCrossGridMm, cross, cross + kCrossGridMm);
}

// The hint's lines, from the top-left of `box`; returns the box they fill.
Box draw_hint(PrinterSurface& surface, const SheetOffset& current, bool draw) {
    surface.set_font_size(kHintPoints);
    const std::string lines[] = {messages::kCalibrationTitle,
                                 messages::kCalibrationNow + sheet_offset_text(current) + " мм",
                                 messages::kCalibrationMeasure,
                                 messages::kCalibrationMeasureMore,
                                 messages::kCalibrationChange,
                                 messages::kCalibrationChangeMore};
    const auto left = static_cast<float>(kCalibrationCrossMm) + kCrossGridMm + 5;
    const auto top = static_cast<float>(kCalibrationCrossMm) - kCrossGridMm;
    const float step = surface.text_height("0") * 1.2F;
    Box box{left - 1, top - 1, left, top};
    float y = top;
    for (const std::string& line : lines) {
        surface.set_font_bold(&line == &lines[0]);
        box.right = std::max(box.right, left + surface.text_width(line) + 1);
        if (draw) {
            label_at(surface, left, y, line);
        }
        y += step;
    }
    surface.set_font_bold(false);
    box.bottom = y + 1;
    return box;
}

} // namespace

void draw_calibration_page(PrinterSurface& surface, const SheetOffset& current) {
    const int width_mm =
        static_cast<int>(std::floor(surface.width_twips() * MmPerInch / TwipsPerInch));
    const int height_mm =
        static_cast<int>(std::floor(surface.height_twips() * MmPerInch / TwipsPerInch));
    const int saved_width = surface.draw_width();
    surface.set_font_name("CourierCyr");
    const auto width = static_cast<float>(width_mm);
    const auto height = static_cast<float>(height_mm);
    const Box hint = draw_hint(surface, current, false);
    draw_tenths(surface, width, height, hint);
    draw_cross(surface);
    draw_rulers(surface, width, height);
    draw_hint(surface, current, true);
    surface.set_draw_width(saved_width);
}

} // namespace kvalon
