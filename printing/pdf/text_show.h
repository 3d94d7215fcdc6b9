#pragma once

#include "printing/page_description.h"
#include "printing/pdf/shown_face.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kvalon {

// The text-showing operator for one run of glyphs on one baseline: every
// glyph of the run in one string, the cell pitch given once as character
// spacing, and a number between two glyphs only where the pitch alone would
// put the second off its position (a gap of empty cells, an uneven step).
// Every glyph lands within a thousandth of a millimetre of its position.
class TextShow {
public:
    // Works out the show for `glyphs` (positions in millimetres) in `face`.
    // `spacing` is the character spacing in force (points before horizontal
    // scaling); the run keeps it unless its own pitch differs.
    void build(const std::vector<PlacedGlyph>& glyphs, ShownFace& face, double spacing);

    // The character spacing the show was worked out for.
    double spacing() const { return m_spacing; }
    // The operator: "(..)Tj", or "[(..)-1234.5(..)]TJ" when there are gaps.
    const std::string& text() const { return m_text; }
    // The glyphs of the run, in its order.
    const std::vector<std::uint16_t>& glyph_ids() const { return m_ids; }

private:
    void choose_spacing(double horizontal, double spacing);
    void close_segment();

    std::vector<std::uint16_t> m_ids;
    std::vector<double> m_x;       // points
    std::vector<double> m_advance; // points, before horizontal scaling
    double m_spacing = 0;
    std::string m_text;
    std::string m_segment;
    std::string m_parts;
};

} // namespace kvalon
