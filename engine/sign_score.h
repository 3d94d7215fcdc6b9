#pragma once

#include "engine/byte_roles.h"

#include <string_view>
#include <vector>

namespace kvalon {

// How likely a report holds the bytes above 127 that a page makes no letters
// of, as a sum of natural logarithms: a box character whose lines meet its
// neighbours' or a shade in a run fits a frame or a bar; a sign on its own
// is rare; a sign between two letters, a frame, shade or block character
// between two letters of one word, a shade or block against a letter, or a
// box character beside one it does not join is part of no frame; a byte the
// page leaves unassigned is rarer still. `lines` are the sample's lines, by
// the page's `roles`.
double sign_score(const Roles& roles, const std::vector<std::string_view>& lines);

} // namespace kvalon
