#pragma once

#include <string>
#include <string_view>

namespace kvalon {

// The spooler's wide strings and our UTF-8 ones.
std::wstring wide_of(std::string_view utf8);
std::string utf8_of(const wchar_t* wide);

// The system's words for the last failed call, with its number.
std::string last_error_words();

} // namespace kvalon
