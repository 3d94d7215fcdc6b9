#include "engine/sheet_offset.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace kvalon {

namespace {

std::optional<double> millimetres(std::string_view text) {
    std::string number(text);
    std::replace(number.begin(), number.end(), ',', '.');
    const char* first = number.data();
    const char* last = first + number.size();
    if (first != last && *first == '+') {
        ++first;
    }
    double value = 0;
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::fixed);
    if (error != std::errc() || end != last || first == last || !std::isfinite(value) ||
        std::abs(value) > kLargestOffsetMm) {
        return std::nullopt;
    }
    return value == 0 ? 0 : value; // no "-0" in the plan
}

// Where the text parts its two numbers, when it tells.
std::optional<std::size_t> parting(std::string_view text) {
    if (const std::size_t semicolon = text.find(';'); semicolon != std::string_view::npos) {
        return semicolon;
    }
    const std::size_t commas = static_cast<std::size_t>(std::count(text.begin(), text.end(), ','));
    if (commas == 1) {
        return text.find(',');
    }
    if (commas == 3) {
        return text.find(',', text.find(',') + 1);
    }
    return std::nullopt;
}

std::string two_decimals(double value) {
    char buffer[32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    std::string text(buffer, result.ptr);
    while (text.back() == '0') {
        text.pop_back();
    }
    if (text.back() == '.') {
        text.pop_back();
    }
    return text == "-0" ? "0" : text;
}

} // namespace

std::optional<SheetOffset> parse_sheet_offset(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    const std::optional<std::size_t> at = parting(text);
    if (!at) {
        return std::nullopt;
    }
    const std::optional<double> across = millimetres(text.substr(0, *at));
    const std::optional<double> down = millimetres(text.substr(*at + 1));
    if (!across || !down) {
        return std::nullopt;
    }
    return SheetOffset{*across, *down};
}

std::string sheet_offset_text(const SheetOffset& offset) {
    return two_decimals(offset.across_mm) + "," + two_decimals(offset.down_mm);
}

} // namespace kvalon
