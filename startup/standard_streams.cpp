#include "startup/standard_streams.h"

#include <cstdio>

namespace kvalon {

void write_to_stdout(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

} // namespace kvalon
