#include "engine/error_line.h"

#include "engine/messages.h"

#include <cstdio>

namespace kvalon {

void write_error_line(const std::string& text, const std::string& after) {
    const std::string line = messages::kTitle + ": " + text + "\n" + after;
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

} // namespace kvalon
