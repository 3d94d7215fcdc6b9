#pragma once

#include <optional>

namespace kvalon {

// A line from a box-drawing character's centre to one edge of its cell.
enum class Arm : unsigned char { None, Single, Double };

struct BoxArms {
    Arm left = Arm::None;
    Arm right = Arm::None;
    Arm up = Arm::None;
    Arm down = Arm::None;
    bool operator==(const BoxArms&) const = default;
};

// The arms of the single and double box-drawing characters the DOS code
// pages hold (among U+2500..U+256C), or nothing for any other character.
std::optional<BoxArms> box_arms(char32_t character);

// The shades and blocks: U+2580..U+259F.
bool is_shade_or_block(char32_t character);

} // namespace kvalon
