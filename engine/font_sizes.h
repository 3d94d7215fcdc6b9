#pragma once

#include <array>
#include <cstddef>

namespace kvalon {

// The font sizes planning tries, in points, as text: the command line's
// size word is compared with them as it is written ("08" is none of them).
inline constexpr std::array<const char*, 8> FontSizeList = {"6",  "7",  "8",  "9",
                                                            "10", "11", "12", "13"};
// The portrait search starts at "8" unless the command line names a size.
inline constexpr std::size_t kDefaultFontSizeIndex = 2;

} // namespace kvalon
