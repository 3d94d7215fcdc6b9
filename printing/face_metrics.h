#pragma once

#include <string>
#include <vector>

namespace kvalon {

// One face at one size as the printer sets it: whole device pixels, figures
// in device pixels. Measured once; a face answers for any code point.
class FaceMetrics {
public:
    virtual ~FaceMetrics() = default;

    virtual double ascent_px() const = 0;
    // Ascent, descent and leading: one line of text.
    virtual double line_spacing_px() const = 0;
    // The advance of the glyph that prints `code_point`; the face's own
    // "missing" glyph for one it lacks.
    virtual double advance_px(char32_t code_point) = 0;
};

// Where a printer surface gets its faces from. Every face is measured once;
// references stay valid as long as the source.
class FaceSource {
public:
    virtual ~FaceSource() = default;

    virtual FaceMetrics& face(const std::string& family, int pixel_size, bool bold) = 0;
    // The families it offers: the printer's font list.
    virtual std::vector<std::string> families() = 0;
};

} // namespace kvalon
