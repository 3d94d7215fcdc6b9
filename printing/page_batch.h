#pragma once

#include "printing/page_description.h"

#include <cstddef>

namespace kvalon {

// Gathers what is drawn on one page and hands it over as one description:
// glyphs of one face on one baseline join one run, strokes are joined along
// rows and columns when the page is taken.
class PageBatch {
public:
    // Starts an empty page on the sheet that `sheet` describes (its size,
    // media box, orientation and resolution; its content is not used).
    void start(const PageDescription& sheet);

    // The index of `face` on this page, added at its first use.
    std::size_t face_index(const PageFace& face);
    void add_glyph(std::size_t face, double baseline, PlacedGlyph glyph);
    void add_stroke(const Stroke& stroke);
    void add_fill(const Fill& fill);
    void add_image(PlacedImage image);

    // The page as drawn; the batch is empty afterwards.
    PageDescription take();

private:
    PageDescription m_page;
};

} // namespace kvalon
