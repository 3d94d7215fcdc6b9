#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kvalon {

// Paths are UTF-8 text inside the program. A std::filesystem::path made from
// a plain string reads it in the system's narrow code page, which on Windows
// is not UTF-8 and loses a Cyrillic name: these go through UTF-8 on every
// system (bytes as they are on POSIX).
inline std::filesystem::path path_of(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string text_of(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}

} // namespace kvalon
