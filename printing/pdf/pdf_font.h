#pragma once

#include "printing/pdf/font_program.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace kvalon {

class Deflater;
class PdfObjectWriter;

// One embedded font of a document: a TrueType face shown through two-byte
// glyph indexes (Identity-H), cut down at the end of the document to the
// glyphs the pages used, with the map back to the characters they stand for.
// Of the pages only that set is kept.
class PdfFont {
public:
    struct Glyph {
        std::uint16_t id = 0;
        double width = 0; // thousandths of the font size, as the file states it
    };

    // Throws KvalonError(Printer) naming the family when it has no usable face.
    PdfFont(const FontSource& source, const std::string& family, bool bold);

    // The glyph for `code`, recorded as used.
    const Glyph& glyph(char32_t code);
    // The glyph's outline as a form in font units, written at its first use;
    // 0 for a glyph with no outline. Over-printed copies of glyphs are drawn
    // as these shapes, which no reader takes for text.
    int outline_form(std::uint16_t glyph, PdfObjectWriter& out, Deflater& deflater);
    unsigned units_per_em() const { return m_program.metrics().units_per_em; }
    // Thickness of the face's underline, in thousandths of the font size.
    double underline_thickness() const;
    // The font's objects: the composite font as object `number`, the others
    // reserved here.
    void write(PdfObjectWriter& out, Deflater& deflater, int number) const;

private:
    Glyph look_up(char32_t code) const;
    double width_of(std::uint16_t glyph) const;
    std::string subset_name(const std::vector<std::uint16_t>& glyphs) const;
    std::string widths(const std::vector<std::uint16_t>& glyphs, double common) const;
    int write_descriptor(PdfObjectWriter& out, Deflater& deflater,
                         const std::vector<std::uint16_t>& glyphs) const;

    FontProgram m_program;
    // Our code pages lie below U+2600; their glyphs are kept in a table.
    std::vector<Glyph> m_table;
    std::vector<bool> m_known;
    std::unordered_map<char32_t, Glyph> m_others;
    std::vector<char32_t> m_code_of_glyph; // 0: not used
    std::vector<int> m_forms;              // object numbers; 0: not written, -1: no outline
};

} // namespace kvalon
