#pragma once

#include "engine/escp/escp_state.h"

#include <string>
#include <string_view>

namespace kvalon {

// The text of one printer page as a screen shows it (MIK, lines ended by
// CR LF): the characters of each printed line in their columns, in the order
// of the lines down the page, a blank line for each empty line between.
// Pictures have no text.
std::string escp_screen_text(std::string_view page, const EscpState& start);

// The characters a report prints, in the order it prints them, each line
// ended by CR LF: no sequences, no control bytes, no dots. Bytes stay in the
// report's code page, as the printer's graphics table reads them.
std::string without_escp_sequences(std::string_view report);

} // namespace kvalon
