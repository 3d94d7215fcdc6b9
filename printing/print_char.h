#pragma once

#include <string>

namespace kvalon {

// What one byte of a report puts in its cell, in the job's code page.
struct CellContent {
    char32_t character = 0; // the code page's character for the byte
    bool drawn = false;     // a box, shade or block character: strokes or a fill
    std::string text;       // UTF-8 for the others; empty leaves the cell blank
};

// Puts one character of a page (a byte in the job's code page) into the cell
// at the printer's position and moves on by one cell of job().CharWidth. Box
// characters become strokes, shades and blocks fills, every other character
// but CR and LF is printed as text; CR does nothing, LF starts the next line.
void print_char(const std::string& c);

// Puts one character (neither CR nor LF) into the cell `w` wide and `h` high
// whose top-left corner is (x, y), millimetres: box characters as strokes
// across the cell, shades and blocks as fills, the rest as text from the
// cell's corner. The position is left at the cell's top-right corner.
void print_in_cell(const CellContent& content, float x, float y, float w, float h);

// What a byte of the job's code page puts in its cell, through the line
// filter; made once for all bytes of a code page and bold marker.
const CellContent& cell_content(unsigned char code);

// What a character given by its Unicode code point rather than by a byte of
// the job's code page puts in its cell (a character the printer's own tables
// put in the byte's place).
CellContent character_content(char32_t character);

} // namespace kvalon
