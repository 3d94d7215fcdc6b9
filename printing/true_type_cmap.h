#pragma once

#include "printing/true_type_file.h"

#include <cstdint>
#include <string_view>

namespace kvalon {

// The character map of a face: the subtable a Unicode text is looked up in
// (format 12 before format 4, Windows before Unicode platform entries, the
// symbol map first when the face has one).
class TrueTypeCmap {
public:
    explicit TrueTypeCmap(const TrueTypeFile& file);

    // 0 when the map gives `code` no glyph.
    std::uint32_t glyph(char32_t code) const;

private:
    std::uint32_t glyph_in_segments(char32_t code) const;
    std::uint32_t glyph_in_groups(char32_t code) const;

    std::string_view m_subtable;
    unsigned m_format = 0;
};

} // namespace kvalon
