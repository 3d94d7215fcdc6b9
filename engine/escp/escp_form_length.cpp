#include "engine/escp/escp_form_length.h"

#include "engine/escp/escp_state.h"

#include <charconv>
#include <cmath>

namespace kvalon {

namespace {
constexpr double kMmPerInch = 25.4;
constexpr double kA4LengthMm = 297;

bool ends_with(std::string_view text, std::string_view end) {
    return text.size() > end.size() && text.substr(text.size() - end.size()) == end;
}

std::optional<double> number_of(std::string_view text) {
    double value = 0;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, value);
    if (error != std::errc() || end != last || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// The form in inches the text stands for.
std::optional<double> inches_of(std::string_view text) {
    if (text == "a4" || text == "A4") {
        return kA4LengthMm / kMmPerInch;
    }
    if (ends_with(text, "in")) {
        return number_of(text.substr(0, text.size() - 2));
    }
    if (ends_with(text, "mm")) {
        const std::optional<double> mm = number_of(text.substr(0, text.size() - 2));
        return mm ? std::optional<double>(*mm / kMmPerInch) : std::nullopt;
    }
    const std::optional<double> lines = number_of(text);
    if (!lines || *lines != std::floor(*lines)) {
        return std::nullopt;
    }
    return *lines / 6;
}
} // namespace

std::optional<std::int64_t> parse_form_length(std::string_view text) {
    const std::optional<double> inches = inches_of(text);
    if (!inches) {
        return std::nullopt;
    }
    const double units = std::nearbyint(*inches * static_cast<double>(kEscpUnitsPerInch));
    if (units < static_cast<double>(kEscpSixthInch) ||
        units > static_cast<double>(kEscpLongestForm)) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(units);
}

} // namespace kvalon
