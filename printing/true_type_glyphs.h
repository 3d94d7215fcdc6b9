#pragma once

#include "printing/face_reader.h"
#include "printing/true_type_file.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace kvalon {

// The glyph table of a face through its index (glyf, loca): each glyph's
// bytes, the glyphs a composite one is built from, and its outline.
class TrueTypeGlyphs {
public:
    explicit TrueTypeGlyphs(const TrueTypeFile& file);

    unsigned count() const { return m_count; }
    // Empty for a glyph without an outline or out of range.
    std::string_view glyph(std::uint32_t id) const;
    // The glyphs `id` is built from, directly.
    std::vector<std::uint16_t> components(std::uint32_t id) const;
    std::vector<OutlineStep> outline(std::uint32_t id) const;

    struct Point {
        float x = 0, y = 0;
        bool on_curve = false;
        bool ends_contour = false;
    };
    // Its points in font units, components placed and joined.
    std::vector<Point> points(std::uint32_t id, int depth = 0) const;

private:
    std::vector<Point> simple_points(std::string_view glyph) const;
    std::vector<Point> composite_points(std::string_view glyph, int depth) const;

    std::string_view m_glyf;
    std::string_view m_loca;
    std::string_view m_hmtx;
    unsigned m_count = 0;
    unsigned m_long_metrics = 0;
    bool m_long_offsets = false;
};

} // namespace kvalon
