#pragma once

#include "engine/pcl/pcl_state.h"

#include <string>
#include <string_view>

namespace kvalon {

// The text of one PCL page as a screen shows it (lines ended by CR LF): the
// characters of each printed line in 10-pitch columns from the page's left
// edge, in the order of the lines down the page, a blank line for each empty
// line of 6 to the inch between. Rectangles and pictures have no text.
std::string pcl_screen_text(std::string_view page, const PclState& start);

// The characters a job prints in the report's code page, in the order it
// prints them, each line ended by CR LF: no commands, no PJL, no data.
std::string without_pcl_commands(std::string_view job);

} // namespace kvalon
