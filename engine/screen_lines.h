#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>

namespace kvalon {

// A page drawn by a printer language as the screen shows it: its lines,
// each by its baseline, joined from the top, as many empty lines between
// two as sixths of an inch part them (`sixth_inch` in the language's own
// units), at most 10, so that a page of far apart lines stays on view.
template <typename Line, typename LineText>
std::string join_screen_lines(const std::map<std::int64_t, Line>& lines, std::int64_t sixth_inch,
                              LineText line_text) {
    constexpr std::int64_t kMostBlankLines = 10;
    std::string text;
    std::int64_t previous = -1;
    for (const auto& [y, line] : lines) {
        if (previous >= 0) {
            const std::int64_t gap = (y - previous + sixth_inch / 2) / sixth_inch;
            const std::int64_t blank = std::clamp<std::int64_t>(gap - 1, 0, kMostBlankLines);
            for (std::int64_t empty = 0; empty <= blank; ++empty) {
                text += "\r\n";
            }
        }
        text += line_text(line);
        previous = y;
    }
    return text;
}

} // namespace kvalon
