#include "printing/pdf/text_show.h"

#include "engine/units.h"
#include "printing/pdf/pdf_font.h"
#include "printing/pdf/pdf_syntax.h"

#include <cmath>
#include <limits>

namespace kvalon {

namespace {

// How far a glyph may land from its position before a number corrects it:
// well under a device pixel, and above what the rounding of numbers adds.
constexpr double kTolerancePoints = 0.002;
// Spacing is written with five decimals, gap numbers with two.
constexpr double kSpacingSteps = 1e5;
constexpr double kNumberSteps = 100;

} // namespace

// The smallest step between neighbours is one cell; wider steps are gaps of
// empty cells, closed by numbers.
void TextShow::choose_spacing(double horizontal, double spacing) {
    double smallest = std::numeric_limits<double>::infinity();
    for (std::size_t i = 1; i < m_x.size(); ++i) {
        smallest = std::min(smallest, (m_x[i] - m_x[i - 1]) / horizontal - m_advance[i - 1]);
    }
    m_spacing =
        std::isinf(smallest) ? spacing : std::round(smallest * kSpacingSteps) / kSpacingSteps;
}

void TextShow::close_segment() {
    if (!m_segment.empty()) {
        append_literal(m_parts, m_segment);
        m_segment.clear();
    }
}

void TextShow::build(const std::vector<PlacedGlyph>& glyphs, ShownFace& face, double spacing) {
    m_x.clear();
    m_advance.clear();
    m_parts.clear();
    m_segment.clear();
    m_ids.clear();
    for (const PlacedGlyph& placed : glyphs) {
        const PdfFont::Glyph& glyph = face.font->glyph(placed.code);
        m_ids.push_back(glyph.id);
        m_advance.push_back(glyph.width / kGlyphSpaceUnits * face.points);
        m_x.push_back(placed.x * PointsPerMm);
    }
    choose_spacing(face.horizontal, spacing);
    const double unit =
        face.points * face.horizontal / kGlyphSpaceUnits; // one thousandth, in points
    bool adjusted = false;
    double pen = m_x.empty() ? 0 : m_x.front();
    for (std::size_t i = 0; i < m_ids.size(); ++i) {
        const double off = m_x[i] - pen;
        if (i > 0 && std::abs(off) > kTolerancePoints) {
            const double number = std::round(-off / unit * kNumberSteps) / kNumberSteps;
            close_segment();
            append_number(m_parts, number, 2);
            pen -= number * unit;
            adjusted = true;
        }
        m_segment += static_cast<char>(m_ids[i] >> 8);
        m_segment += static_cast<char>(m_ids[i] & 0xFF);
        pen += (m_advance[i] + m_spacing) * face.horizontal;
    }
    close_segment();
    m_text.clear();
    if (adjusted) {
        m_text += '[';
        m_text += m_parts;
        m_text += "]TJ";
    } else {
        m_text += m_parts;
        m_text += "Tj";
    }
}

} // namespace kvalon
