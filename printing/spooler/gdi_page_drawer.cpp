#include "printing/spooler/gdi_page_drawer.h"

#include "engine/units.h"

#include <algorithm>
#include <cmath>

namespace kvalon {

namespace {

// Millimetres on the sheet to the device's pixels of one axis, from the
// first pixel it prints.
class AxisPixels {
public:
    AxisPixels(int dpi, int offset) : m_dpi(dpi), m_offset(offset) {}
    int at(double mm) const { return length(mm) - m_offset; }
    int length(double mm) const { return static_cast<int>(std::lround(mm * m_dpi / MmPerInch)); }

private:
    int m_dpi;
    int m_offset;
};

struct DevicePixels {
    AxisPixels x;
    AxisPixels y;
};

GdiFont gdi_font(const PageFace& face, int dpi_y) {
    GdiFont font;
    font.family = face.family;
    font.em_pixels = static_cast<int>(std::lround(face.points * dpi_y / PointsPerInch));
    if (face.width_scale != 1) {
        font.width_pixels = std::max(
            1, static_cast<int>(std::lround(font.em_pixels * kCellWidthShare * face.width_scale)));
    }
    font.bold = face.bold;
    font.italic = face.italic;
    return font;
}

// A code point as UTF-16: one unit, or a surrogate pair.
void append_utf16(std::u16string& text, char32_t code) {
    if (code < 0x10000) {
        text.push_back(static_cast<char16_t>(code));
        return;
    }
    const char32_t above = code - 0x10000;
    text.push_back(static_cast<char16_t>(0xD800 + (above >> 10)));
    text.push_back(static_cast<char16_t>(0xDC00 + (above & 0x3FF)));
}

// Each glyph is placed where the page has it, whatever the face's own
// advance: the advance of every unit is the distance to the next glyph's
// pixel (the second unit of a pair advances nothing).
void draw_run(const TextRun& run, const GdiFont& font, const DevicePixels& pixels,
              GdiCanvas& canvas) {
    if (run.glyphs.empty()) {
        return;
    }
    std::u16string text;
    std::vector<int> advances;
    const int first = pixels.x.at(run.glyphs.front().x);
    int previous = first;
    for (std::size_t i = 0; i < run.glyphs.size(); ++i) {
        const std::size_t units_before = text.size();
        append_utf16(text, run.glyphs[i].code);
        const int next = i + 1 < run.glyphs.size() ? pixels.x.at(run.glyphs[i + 1].x) : previous;
        advances.push_back(next - previous);
        if (text.size() - units_before == 2) {
            advances.push_back(0);
        }
        previous = next;
    }
    canvas.text(font, first, pixels.y.at(run.baseline), text, advances);
}

} // namespace

void draw_page_on(const PageDescription& page, const DeviceArea& area, GdiCanvas& canvas) {
    const DevicePixels pixels{AxisPixels(area.dpi_x, area.offset_x),
                              AxisPixels(area.dpi_y, area.offset_y)};
    for (const Fill& fill : page.fills) {
        canvas.fill(pixels.x.at(fill.x), pixels.y.at(fill.y), pixels.x.at(fill.x + fill.width),
                    pixels.y.at(fill.y + fill.height), fill.grey);
    }
    for (const PlacedImage& image : page.images) {
        const int left = pixels.x.at(image.x);
        const int top = pixels.y.at(image.y);
        canvas.stretch_image(left, top, pixels.x.at(image.x + image.width) - left,
                             pixels.y.at(image.y + image.height) - top, image.dots);
    }
    std::vector<GdiFont> fonts;
    for (const PageFace& face : page.faces) {
        fonts.push_back(gdi_font(face, area.dpi_y));
    }
    for (const TextRun& run : page.runs) {
        if (run.face < fonts.size()) {
            draw_run(run, fonts[run.face], pixels, canvas);
        }
    }
    for (const Stroke& stroke : page.strokes) {
        const int width = std::max(1, pixels.x.length(stroke.width));
        canvas.line(pixels.x.at(stroke.x1), pixels.y.at(stroke.y1), pixels.x.at(stroke.x2),
                    pixels.y.at(stroke.y2), width);
    }
}

} // namespace kvalon
