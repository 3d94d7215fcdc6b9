#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kvalon {

// A table tag of a TrueType font as one number, first letter in the high byte
// ("glyf" is 0x676C7966).
constexpr std::uint32_t sfnt_tag(const char (&name)[5]) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(name[0])) << 24 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(name[1])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(name[2])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(name[3]));
}

// One piece of a glyph's outline in font units: a move, a line, a cubic
// curve (two control points, then the end) or the closing of the contour.
struct OutlineStep {
    enum class Kind { Move, Line, Cubic, Close };
    Kind kind = Kind::Move;
    float points[6] = {};
};

// The first face of a TrueType file, as the program reads fonts: its tables,
// its character map, its advances and outlines, and a subset of it for
// embedding. The file's bytes must stay while the reader is used. Every
// figure is in font units.
class FaceReader {
public:
    virtual ~FaceReader() = default;

    // 0 when the file holds no usable face.
    virtual unsigned glyph_count() const = 0;
    virtual unsigned units_per_em() const = 0;
    // The table's bytes; empty when the face has none.
    virtual std::string table(std::uint32_t tag) const = 0;
    // The glyph the character map gives `code`; false when it gives none.
    virtual bool nominal_glyph(char32_t code, std::uint32_t& glyph) const = 0;
    virtual int advance(std::uint32_t glyph) const = 0;
    // A name of the face (1 the family, 6 the PostScript name) as UTF-8;
    // empty when it has none.
    virtual std::string name(unsigned name_id) const = 0;
    virtual std::vector<OutlineStep> outline(std::uint32_t glyph) const = 0;
    // A TrueType file with `glyphs` (and the glyphs they are built from),
    // each at its old index, a character map for `codes`, and of the other
    // tables only those in `kept`. Nothing when it cannot be made.
    virtual std::optional<std::string> subset(const std::vector<std::uint16_t>& glyphs,
                                              const std::vector<char32_t>& codes,
                                              const std::vector<std::uint32_t>& kept) const = 0;
};

// The reader this build uses, over `file`.
std::unique_ptr<FaceReader> read_face(std::string_view file);

} // namespace kvalon
