// Any bytes as a font file read by our own TrueType reader: every lookup,
// advance and outline stays inside the bytes, and a subset it cuts keeps the
// glyph each code had.
#include "printing/own_face_reader.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    const auto face = kvalon::read_face_with_own_tables(file);
    std::vector<std::uint16_t> glyphs;
    std::vector<char32_t> codes;
    for (char32_t code = 0x20; code < 0x500; ++code) {
        std::uint32_t glyph = 0;
        if (face->nominal_glyph(code, glyph) && glyph < face->glyph_count() && glyphs.size() < 64) {
            glyphs.push_back(static_cast<std::uint16_t>(glyph));
            codes.push_back(code);
        }
    }
    const unsigned count = face->glyph_count() < 512 ? face->glyph_count() : 512;
    for (std::uint32_t glyph = 0; glyph < count; ++glyph) {
        face->advance(glyph);
        face->outline(glyph);
    }
    face->name(1);
    face->name(6);
    const std::vector<std::uint32_t> kept = {kvalon::sfnt_tag("head"), kvalon::sfnt_tag("hhea"),
                                             kvalon::sfnt_tag("hmtx"), kvalon::sfnt_tag("maxp"),
                                             kvalon::sfnt_tag("loca"), kvalon::sfnt_tag("glyf"),
                                             kvalon::sfnt_tag("post"), kvalon::sfnt_tag("cmap")};
    if (const auto cut = face->subset(glyphs, codes, kept)) {
        const auto again = kvalon::read_face_with_own_tables(*cut);
        for (std::size_t i = 0; i < codes.size(); ++i) {
            std::uint32_t glyph = 0;
            if (!again->nominal_glyph(codes[i], glyph) || glyph != glyphs[i]) {
                std::abort();
            }
        }
    }
    return 0;
}
