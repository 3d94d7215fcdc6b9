#include "engine/letters.h"

namespace kvalon {

namespace {

bool in(char32_t c, char32_t first, char32_t last) {
    return c >= first && c <= last;
}

bool is_even(char32_t c) {
    return c % 2 == 0;
}

} // namespace

Script script_of(char32_t c) {
    if (in(c, U'A', U'Z') || in(c, U'a', U'z') ||
        (in(c, 0x00C0, 0x024F) && c != U'×' && c != U'÷')) {
        return Script::Latin;
    }
    if (in(c, 0x0388, 0x03FF) && c != 0x03A2) {
        return Script::Greek;
    }
    if (in(c, 0x0400, 0x0481) || in(c, 0x048A, 0x04FF)) {
        return Script::Cyrillic;
    }
    return Script::None;
}

char32_t folded_letter(char32_t c) {
    constexpr char32_t kCaseStep = 0x20;
    if (in(c, U'A', U'Z') || (in(c, 0x00C0, 0x00DE) && c != U'×') || in(c, 0x0391, 0x03AB) ||
        in(c, 0x0410, 0x042F)) {
        return c + kCaseStep;
    }
    if (in(c, 0x0400, 0x040F)) {
        return c + 0x50;
    }
    if (c == U'İ') {
        return U'i';
    }
    if (c == U'Ÿ') {
        return U'ÿ';
    }
    // In Latin Extended-A the capital comes first of each pair, on an even
    // place or, from Ĺ to Ň and from Ź to Ž, on an odd one.
    const bool odd_pairs = in(c, 0x0139, 0x0148) || in(c, 0x0179, 0x017E);
    const bool even_pairs = in(c, 0x0100, 0x0137) || in(c, 0x014A, 0x0177) || in(c, 0x0490, 0x04BF);
    if ((even_pairs && is_even(c)) || (odd_pairs && !is_even(c))) {
        return c + 1;
    }
    return c;
}

} // namespace kvalon
