#pragma once

#include <string>

namespace kvalon {

class PdfFont;

// How the text of one face of a page is shown: the font resource, its size
// and the changes the face asks for.
struct ShownFace {
    PdfFont* font = nullptr;
    std::string resource;  // the font's name in the page's resources, "/F1"
    double points = 0;     // as written into the file
    double horizontal = 1; // 2: glyphs stretched to twice their width
    bool slanted = false;  // synthesised italic
    double bold_shift = 0; // points; >0: bold made by drawing the text again this far left
};

} // namespace kvalon
