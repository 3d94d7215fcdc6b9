#pragma once

#include <string>

namespace kvalon {

// Gives the file `from` the name `to` in one step, replacing a file that has
// that name: readers see the old file or the new one, never none. 0, or the
// errno why not.
int replace_name(const std::string& from, const std::string& to);

} // namespace kvalon
