#pragma once

#include <string>

namespace kvalon {

// Puts one character of a page (a MIK byte) into the cell at the printer's
// position and moves on by one cell of job().CharWidth. Box characters become
// strokes, shades and blocks fills, every other character but CR and LF is
// printed as text; CR does nothing, LF starts the next line.
void print_char(const std::string& c);

// Puts one character (neither CR nor LF) over `cells` cells at the printer's
// position and moves on by them: a character in double width is drawn over
// two cells, its strokes and fills stretched with it.
void print_cells(unsigned char code, int cells);

// Puts one character (neither CR nor LF) into the cell `w` wide and `h` high
// whose top-left corner is (x, y), millimetres: box characters as strokes
// across the cell, shades and blocks as fills, the rest as text from the
// cell's corner. The position is left at the cell's top-right corner.
void print_in_cell(unsigned char code, float x, float y, float w, float h);

// The text a non-drawn character prints as, UTF-8; empty for characters that
// leave their cell blank.
const std::string& printed_text(unsigned char code);

} // namespace kvalon
