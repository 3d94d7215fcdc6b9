#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kvalon {

// The form length a printer was set to, as the user writes it: "11in",
// "12in", "a4", "297mm" or a number of lines of a sixth of an inch ("72").
// Nothing for a text that is none of these or a form outside 1 line to the
// longest form ESC C takes. Printer units (engine/escp/escp_state.h).
std::optional<std::int64_t> parse_form_length(std::string_view text);

} // namespace kvalon
