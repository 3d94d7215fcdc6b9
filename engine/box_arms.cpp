#include "engine/box_arms.h"

#include <algorithm>
#include <iterator>

namespace kvalon {

namespace {

constexpr Arm o = Arm::None;
constexpr Arm s = Arm::Single;
constexpr Arm d = Arm::Double;

struct ArmsOf {
    char32_t character;
    BoxArms arms; // left, right, up, down
};

constexpr ArmsOf kArms[] = {
    {U'─', {s, s, o, o}}, {U'│', {o, o, s, s}}, {U'┌', {o, s, o, s}}, {U'┐', {s, o, o, s}},
    {U'└', {o, s, s, o}}, {U'┘', {s, o, s, o}}, {U'├', {o, s, s, s}}, {U'┤', {s, o, s, s}},
    {U'┬', {s, s, o, s}}, {U'┴', {s, s, s, o}}, {U'┼', {s, s, s, s}}, {U'═', {d, d, o, o}},
    {U'║', {o, o, d, d}}, {U'╒', {o, d, o, s}}, {U'╓', {o, s, o, d}}, {U'╔', {o, d, o, d}},
    {U'╕', {d, o, o, s}}, {U'╖', {s, o, o, d}}, {U'╗', {d, o, o, d}}, {U'╘', {o, d, s, o}},
    {U'╙', {o, s, d, o}}, {U'╚', {o, d, d, o}}, {U'╛', {d, o, s, o}}, {U'╜', {s, o, d, o}},
    {U'╝', {d, o, d, o}}, {U'╞', {o, d, s, s}}, {U'╟', {o, s, d, d}}, {U'╠', {o, d, d, d}},
    {U'╡', {d, o, s, s}}, {U'╢', {s, o, d, d}}, {U'╣', {d, o, d, d}}, {U'╤', {d, d, o, s}},
    {U'╥', {s, s, o, d}}, {U'╦', {d, d, o, d}}, {U'╧', {d, d, s, o}}, {U'╨', {s, s, d, o}},
    {U'╩', {d, d, d, o}}, {U'╪', {d, d, s, s}}, {U'╫', {s, s, d, d}}, {U'╬', {d, d, d, d}},
};

constexpr char32_t kFirstBoxDrawing = 0x2500;
constexpr char32_t kFirstShadeOrBlock = 0x2580;
constexpr char32_t kLastShadeOrBlock = 0x259F;

} // namespace

std::optional<BoxArms> box_arms(char32_t character) {
    if (character < kFirstBoxDrawing || character >= kFirstShadeOrBlock) {
        return std::nullopt;
    }
    const auto found =
        std::find_if(std::begin(kArms), std::end(kArms),
                     [character](const ArmsOf& a) { return a.character == character; });
    if (found == std::end(kArms)) {
        return std::nullopt;
    }
    return found->arms;
}

bool is_shade_or_block(char32_t character) {
    return character >= kFirstShadeOrBlock && character <= kLastShadeOrBlock;
}

} // namespace kvalon
