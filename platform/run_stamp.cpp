#include "platform/run_stamp.h"

#include <cctype>

namespace kvalon {

namespace {

constexpr std::string_view kStreamPrefix = "kvalon-p-";
constexpr std::size_t kRandomLength = 6;

template <typename Test> bool all_of(std::string_view text, Test test) {
    for (const char c : text) {
        if (!test(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return !text.empty();
}

bool is_digit(unsigned char c) {
    return c >= '0' && c <= '9';
}

bool is_lower_hex(unsigned char c) {
    return is_digit(c) || (c >= 'a' && c <= 'f');
}

bool is_letter_or_digit(unsigned char c) {
    return std::isalnum(c) != 0;
}

} // namespace

std::optional<RunStamp> stamp_in(std::string_view name) {
    if (name.size() < kRandomLength + 1 || name[name.size() - kRandomLength - 1] != '.' ||
        !all_of(name.substr(name.size() - kRandomLength), is_letter_or_digit)) {
        return std::nullopt;
    }
    name.remove_suffix(kRandomLength + 1);
    const std::size_t marker = name.rfind(kRunStampMarker);
    if (marker == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view prefix = name.substr(0, marker);
    const bool ours = prefix == kStreamPrefix ||
                      (prefix.size() >= 3 && prefix.front() == '.' && prefix.back() == '.');
    std::string_view rest = name.substr(marker + kRunStampMarker.size());
    const std::size_t first_dot = rest.find('.');
    const std::size_t second_dot = rest.find('.', first_dot + 1);
    if (!ours || first_dot != kRunStampBootLength || second_dot == std::string_view::npos) {
        return std::nullopt;
    }
    RunStamp stamp{std::string(rest.substr(0, first_dot)),
                   std::string(rest.substr(first_dot + 1, second_dot - first_dot - 1)),
                   std::string(rest.substr(second_dot + 1))};
    if (!all_of(stamp.boot, is_lower_hex) || !all_of(stamp.pid, is_digit) ||
        !all_of(stamp.start, is_digit)) {
        return std::nullopt;
    }
    return stamp;
}

std::optional<RunStamp> stamp_in_kept(std::string_view name) {
    if (name.size() < kRandomLength + 1) {
        return std::nullopt;
    }
    const std::size_t marker = name.substr(0, name.size() - kRandomLength).rfind(kRunStampMarker);
    if (marker == std::string_view::npos) {
        return std::nullopt;
    }
    return stamp_in(".kept." + std::string(name.substr(marker)));
}

} // namespace kvalon
