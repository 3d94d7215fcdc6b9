#pragma once

#include "printing/true_type_cmap.h"
#include "printing/true_type_file.h"
#include "printing/true_type_glyphs.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kvalon {

// A TrueType file with `glyphs`, the glyphs they are built from and the
// missing-glyph box, each at its old index (the glyphs between them empty),
// a character map for `codes`, and of the other tables those in `kept`.
// Nothing when the face has no glyph table.
std::optional<std::string> true_type_subset(const TrueTypeFile& file, const TrueTypeGlyphs& glyphs,
                                            const TrueTypeCmap& cmap,
                                            const std::vector<std::uint16_t>& wanted,
                                            const std::vector<char32_t>& codes,
                                            const std::vector<std::uint32_t>& kept);

} // namespace kvalon
