#pragma once

#include <string>
#include <string_view>

namespace kvalon {

// Text is UTF-8 inside the program; the system's wide-character calls take
// and give UTF-16. Bytes that are not UTF-8 become U+FFFD.
std::wstring wide_text(std::string_view utf8);
std::string utf8_text(std::wstring_view wide);

} // namespace kvalon
