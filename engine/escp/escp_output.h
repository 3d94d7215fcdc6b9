#pragma once

#include "engine/escp/escp_graphic.h"

#include <cstdint>

namespace kvalon {

// One character as the printer prints it.
struct EscpGlyph {
    unsigned char code = 0; // the report's byte, after ESC = and ESC >
    // What it prints: the code page's character for the byte, or the one the
    // printer's tables (ESC t, ESC R) put in its place; 0 prints nothing.
    char32_t character = 0;
    bool by_printer_table = false; // the tables put another character, or italic, there
    std::int64_t x = 0;            // the top-left corner of its place
    std::int64_t y = 0;
    std::int64_t width = 0;        // how far the head moves on: double width and spacing included
    std::int64_t letter_width = 0; // the letter itself: double width, but no spacing
    std::int64_t height = 0;       // the line spacing in force: box characters reach across it
    bool bold = false;             // emphasized, double-strike or the bold marker
    bool italic = false;
    bool underline = false;
    bool double_width = false;

    // Leaves a mark on the paper: a character that is not a blank, or a line.
    bool visible() const;
};

// Where the printer's work goes, in the order of the report.
class EscpOutput {
public:
    virtual void glyph(const EscpGlyph&) {}
    virtual void dots(const EscpDots&) {}
    // The page ends (form feed, the form's length passed, a new top of form);
    // `had_print` tells whether anything visible stands on it.
    virtual void page_end(bool /*had_print*/) {}
    // LF, or VT: the printer goes to a new line.
    virtual void line_feed() {}
    // FF, or VT past the last stop: the report ends the page itself.
    virtual void form_feed() {}

protected:
    ~EscpOutput() = default;
};

} // namespace kvalon
