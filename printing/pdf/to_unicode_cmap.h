#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kvalon {

// The ToUnicode map of a font shown through two-byte glyph indexes: which
// character each glyph stands for, so that text copied or searched in a
// reader comes out as the characters that were printed.
std::string to_unicode_cmap(const std::vector<std::pair<std::uint16_t, char32_t>>& glyph_codes);

} // namespace kvalon
