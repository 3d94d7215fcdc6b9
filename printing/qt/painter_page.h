#pragma once

#include "printing/page_description.h"

class QPainter;

namespace kvalon {

class FaceCache;

// Draws a page description on any painter whose device has `dpi` pixels to the
// inch and its origin at the sheet's top-left corner: a printer, a PDF writer,
// an image, the screen. Fills first, then pictures, then the text of each
// face, then the strokes.
void draw_page(QPainter& painter, const PageDescription& page, double dpi, FaceCache& faces);

} // namespace kvalon
