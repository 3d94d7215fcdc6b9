#include "engine/filter_text.h"

#include "engine/control_codes.h"
#include "engine/print_job.h"

#include <algorithm>
#include <array>

namespace kvalon {

namespace {

using Code = unsigned char;

constexpr std::array<Code, 9> HorizontalSet = {196, 194, 193, 197, 95, 205, 206, 203, 202};
constexpr std::array<Code, 13> CornerSet = {218, 207, 223, 195, 212, 192, 198,
                                            201, 215, 204, 200, 216, 217};
constexpr std::array<Code, 2> VerticalSet = {211, 199};

constexpr int kWindowsLetterShift = 64;

template <std::size_t N> bool contains(const std::array<Code, N>& set, Code c) {
    return std::find(set.begin(), set.end(), c) != set.end();
}

std::size_t page_break_cut(const std::string& text) {
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (static_cast<Code>(text[i - 1]) == codes::FormFeed &&
            static_cast<Code>(text[i]) == codes::CarriageReturn) {
            return i - 1;
        }
    }
    return text.size();
}

Code plain_for_screen(Code c) {
    if (contains(HorizontalSet, c)) {
        return '-';
    }
    if (contains(CornerSet, c)) {
        return ' ';
    }
    if (contains(VerticalSet, c)) {
        return '|';
    }
    return c;
}

} // namespace

std::string filter_text(const std::string& text, const std::string& target) {
    const bool screen = target == "Screen";
    const std::string& skip = job().SkipChar;
    const bool has_skip = !skip.empty();
    const Code skip_code = has_skip ? static_cast<Code>(skip[0]) : 0;
    const std::size_t end = page_break_cut(text);
    std::string result;
    result.reserve(end);
    for (std::size_t i = 0; i < end; ++i) {
        Code c = static_cast<Code>(text[i]);
        if (c == codes::FormFeed || c == codes::ShiftIn || c == codes::DeviceControl2 ||
            c == codes::Escape) {
            continue;
        }
        if (c == codes::NumeroSign) {
            c = 'N';
        } else if (has_skip && c == skip_code) {
            continue;
        }
        if (screen) {
            c = plain_for_screen(c);
        }
        if (c >= codes::FirstMikLetter && c <= codes::LastMikLetter) {
            c = static_cast<Code>(c + kWindowsLetterShift);
        }
        result.push_back(static_cast<char>(c));
    }
    return result;
}

} // namespace kvalon
