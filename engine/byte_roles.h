#pragma once

#include "engine/box_arms.h"
#include "engine/code_page.h"

#include <array>
#include <cstddef>

namespace kvalon {

inline constexpr std::size_t kFirstHigh = 128;
inline constexpr std::size_t kByteValues = 256;

// What each byte of each code page is to the code-page guess: a letter (and
// which, without case), a frame character (and its arms), a shade or block,
// another sign, or nothing the page assigns.
enum class Kind : unsigned char { Other, Letter, Box, Fill, Symbol, Unprintable };

struct ByteRole {
    Kind kind = Kind::Other;
    BoxArms arms;
    char32_t letter = 0; // of a letter, its lower-case form
};

using Roles = std::array<ByteRole, kByteValues>;

// Made once, at the first call; by CodePageId.
const std::array<Roles, kCodePageCount>& all_roles();

} // namespace kvalon
