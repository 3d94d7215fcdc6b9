#pragma once

#include <string>

namespace kvalon {

// Explicit code-page tables: the engine works on single bytes, the surfaces
// and windows on Unicode. 0x98 of Windows-1251 is unassigned (U+FFFD).
char32_t windows1251_to_unicode(unsigned char code);
char32_t mik_to_unicode(unsigned char code);

void append_utf8(std::string& out, char32_t code_point);

} // namespace kvalon
