#include "platform/name_replacement.h"

#include <cerrno>
#include <cstdio>

namespace kvalon {

int replace_name(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

} // namespace kvalon
