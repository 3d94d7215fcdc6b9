#include "engine/byte_roles.h"

#include "engine/letters.h"

namespace kvalon {

namespace {

Kind kind_of(char32_t c) {
    if (script_of(c) != Script::None) {
        return Kind::Letter;
    }
    if (box_arms(c)) {
        return Kind::Box;
    }
    if (is_shade_or_block(c)) {
        return Kind::Fill;
    }
    if (c == 0xFFFD) {
        return Kind::Unprintable;
    }
    return c < kFirstHigh ? Kind::Other : Kind::Symbol;
}

Roles roles_of(CodePageId page) {
    Roles roles;
    for (std::size_t b = 0; b < kByteValues; ++b) {
        const char32_t c = character_of(page, static_cast<unsigned char>(b));
        roles[b].kind = kind_of(c);
        roles[b].letter = roles[b].kind == Kind::Letter ? folded_letter(c) : 0;
        if (const auto arms = box_arms(c)) {
            roles[b].arms = *arms;
        }
    }
    return roles;
}

} // namespace

const std::array<Roles, kCodePageCount>& all_roles() {
    static const std::array<Roles, kCodePageCount> roles = [] {
        std::array<Roles, kCodePageCount> made;
        for (std::size_t p = 0; p < kCodePageCount; ++p) {
            made[p] = roles_of(static_cast<CodePageId>(p));
        }
        return made;
    }();
    return roles;
}

} // namespace kvalon
