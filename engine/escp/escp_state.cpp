#include "engine/escp/escp_state.h"

namespace kvalon {

namespace {

constexpr std::int64_t kElite = kEscpUnitsPerInch / 12;
constexpr std::int64_t kMicron = kEscpUnitsPerInch / 15;
// Condensed pica prints 17.14 characters to the inch, condensed elite 20;
// 15-pitch characters have no condensed form.
constexpr std::int64_t kCondensedPica = kEscpUnitsPerInch * 7 / 120;
constexpr std::int64_t kCondensedElite = kEscpUnitsPerInch / 20;
} // namespace

std::int64_t EscpState::column_width() const {
    switch (attributes.pitch) {
    case 12:
        return attributes.condensed ? kCondensedElite : kElite;
    case 15:
        return kMicron;
    default:
        return attributes.condensed ? kCondensedPica : kEscpPicaColumn;
    }
}

std::int64_t EscpState::letter_width() const {
    const std::int64_t single = fixed_width > 0 ? fixed_width : column_width();
    return attributes.double_width() ? 2 * single : single;
}

std::int64_t EscpState::character_width() const {
    return letter_width() + (attributes.double_width() ? 2 * extra_space : extra_space);
}

} // namespace kvalon
