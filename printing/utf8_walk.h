#pragma once

#include <cstddef>
#include <string_view>

namespace kvalon {

// Calls `visit` for every code point of UTF-8 text. The program makes all the
// text it hands to a surface itself, so the text is well formed; a cut-off
// sequence at the end still yields one (partial) code point, never a read past
// the end.
template <typename Visit> void for_each_code_point(std::string_view text, Visit visit) {
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
        char32_t code = extra == 0 ? lead : (lead & (0x3Fu >> extra));
        for (std::size_t k = 1; k <= extra && i + k < text.size(); ++k) {
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3Fu);
        }
        visit(code);
        i += extra + 1;
    }
}

} // namespace kvalon
