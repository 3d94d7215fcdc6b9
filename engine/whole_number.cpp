#include "engine/whole_number.h"

#include <charconv>

namespace kvalon {

std::optional<int> parse_whole_number(std::string_view text) {
    int number = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    if (text.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return number;
}

} // namespace kvalon
