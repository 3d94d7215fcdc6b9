#include "printing/page_batch.h"

#include "engine/units.h"
#include "printing/stroke_merging.h"

#include <utility>

namespace kvalon {

namespace {
// Strokes of neighbouring cells meet at the same computed coordinate; a
// hundredth of a device pixel absorbs rounding in the cell arithmetic.
constexpr double kTouchingPixels = 0.01;
} // namespace

void PageBatch::start(const PageDescription& sheet) {
    m_page = PageDescription{};
    m_page.width_mm = sheet.width_mm;
    m_page.height_mm = sheet.height_mm;
    m_page.width_points = sheet.width_points;
    m_page.height_points = sheet.height_points;
    m_page.landscape = sheet.landscape;
    m_page.dpi = sheet.dpi;
    m_page.cells = sheet.cells;
}

std::size_t PageBatch::face_index(const PageFace& face) {
    for (std::size_t i = 0; i < m_page.faces.size(); ++i) {
        if (m_page.faces[i] == face) {
            return i;
        }
    }
    m_page.faces.push_back(face);
    return m_page.faces.size() - 1;
}

void PageBatch::add_glyph(std::size_t face, double baseline, PlacedGlyph glyph) {
    std::vector<TextRun>& runs = m_page.runs;
    if (runs.empty() || runs.back().face != face || runs.back().baseline != baseline) {
        runs.push_back(TextRun{face, baseline, {}});
    }
    runs.back().glyphs.push_back(glyph);
}

void PageBatch::add_stroke(const Stroke& stroke) {
    m_page.strokes.push_back(stroke);
}

void PageBatch::add_fill(const Fill& fill) {
    m_page.fills.push_back(fill);
}

void PageBatch::add_image(PlacedImage image) {
    m_page.images.push_back(std::move(image));
}

PageDescription PageBatch::take() {
    const double touching = kTouchingPixels * MmPerInch / m_page.dpi;
    m_page.strokes = merge_collinear(m_page.strokes, touching);
    PageDescription page = std::move(m_page);
    start(page);
    return page;
}

} // namespace kvalon
