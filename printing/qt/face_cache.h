#pragma once

#include "printing/face_metrics.h"

#include <QFont>
#include <QRawFont>

#include <map>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

namespace kvalon {

// A face measured once as Qt sets it: the font of a family at a pixel size,
// bold or not, its ascent and line spacing in pixels, and its glyphs by code
// point. The windows draw pages with it.
class Face final : public FaceMetrics {
public:
    struct Glyph {
        quint32 index = 0;
        double advance_px = 0;
    };

    Face(const std::string& family, int pixel_size, bool bold);

    const QRawFont& raw() const { return m_raw; }
    double ascent_px() const override { return m_ascent_px; }
    double line_spacing_px() const override { return m_line_spacing_px; }
    double advance_px(char32_t code_point) override { return glyph(code_point).advance_px; }
    // Index 0 (the font's "missing" glyph) for a code point it lacks.
    const Glyph& glyph(char32_t code_point);

private:
    QFont m_font;
    QRawFont m_raw;
    double m_ascent_px = 0;
    double m_line_spacing_px = 0;
    // The letters and symbols of our code pages lie below this and are kept
    // in a table (a negative advance marks a glyph not yet looked up); the
    // rest, rarely met, in a map.
    static constexpr char32_t kTableLimit = 0x2600;
    std::vector<Glyph> m_table;
    std::unordered_map<char32_t, Glyph> m_others;
};

// Every face a job uses, each measured once, as Qt's font system offers them.
// References stay valid. Needs a running QGuiApplication.
class FaceCache final : public FaceSource {
public:
    Face& face(const std::string& family, int pixel_size, bool bold) override;
    std::vector<std::string> families() override;

private:
    std::map<std::tuple<std::string, int, bool>, Face> m_faces;
};

} // namespace kvalon
