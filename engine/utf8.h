#pragma once

#include <string>

namespace kvalon {

// Appends one Unicode code point to `out` in UTF-8.
void append_utf8(std::string& out, char32_t code_point);

} // namespace kvalon
