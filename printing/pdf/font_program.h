#pragma once

#include "printing/pdf/font_source.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kvalon {

// The TrueType face a PDF font is made from, read from the file a FontSource
// gives. Lengths are in font units unless named otherwise.
class FontProgram {
public:
    struct Metrics {
        unsigned units_per_em = 1000;
        int ascent = 0;
        int descent = 0;
        int cap_height = 0;
        int x_min = 0, y_min = 0, x_max = 0, y_max = 0;
        int underline_thickness = 0;
        double italic_angle = 0; // degrees, negative leaning right
        bool fixed_pitch = false;
    };

    // Throws KvalonError(Printer) naming the family when the source gives no
    // usable TrueType face for it.
    FontProgram(const FontSource& source, const std::string& family, bool bold);
    ~FontProgram();
    FontProgram(const FontProgram&) = delete;
    FontProgram& operator=(const FontProgram&) = delete;

    // The glyph the face maps `code` to, 0 (the missing-glyph box) when none.
    std::uint16_t glyph_for(char32_t code) const;
    int advance(std::uint16_t glyph) const;
    unsigned glyph_count() const;
    const Metrics& metrics() const { return m_metrics; }
    // The glyph's outline as a filled PDF path in font units ("x y m .. f"),
    // empty for a glyph with no outline (a blank).
    std::string outline(std::uint16_t glyph) const;
    // The face's PostScript name, usable as a PDF name.
    std::string postscript_name() const;
    // A TrueType file with only `glyphs` (and the glyphs they are built
    // from), each at its old index, and a character map for `codes`.
    std::string subset(const std::vector<std::uint16_t>& glyphs,
                       const std::vector<char32_t>& codes) const;

private:
    void read_metrics();

    std::string m_family;
    std::unique_ptr<FaceReader> m_face;
    Metrics m_metrics;
};

} // namespace kvalon
