#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kvalon {

// The small pieces of PDF syntax the writer is made of, appended to a buffer.
// Numbers are written in the classic notation whatever the locale.

// Glyph widths, font metrics and the text's own shifts are written in
// thousandths of the font size (PDF's glyph space).
inline constexpr double kGlyphSpaceUnits = 1000;

// `value` with at most `decimals` places and no trailing zeros ("12.5", "0").
void append_number(std::string& out, double value, int decimals = 3);
void append_integer(std::string& out, std::uint64_t value);
// A byte string in parentheses, with the bytes a reader would change escaped.
void append_literal(std::string& out, std::string_view bytes);
// UTF-8 text as a text string a reader shows in any language: UTF-16 with a
// byte-order mark, in hexadecimal.
void append_text_string(std::string& out, std::string_view utf8);
// `code` as big-endian UTF-16 in hexadecimal, a surrogate pair above U+FFFF.
void append_utf16_hex(std::string& out, char32_t code);
// `value` as `digits` uppercase hexadecimal digits.
void append_hex(std::string& out, std::uint32_t value, int digits);

} // namespace kvalon
