#pragma once

#include <optional>
#include <string_view>

namespace kvalon {

// The whole number `text` spells exactly (an optional minus, decimal digits,
// nothing else), or nothing.
std::optional<int> parse_whole_number(std::string_view text);

} // namespace kvalon
