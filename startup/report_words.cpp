#include "startup/report_words.h"

#include "engine/file_checks.h"
#include "startup/command_line.h"

#include <optional>

namespace kvalon {

namespace {

bool is_dos_separator(char c) {
    return c == ' ' || c == ',';
}

// The DOS words of `rest` with `report` as the first one; the defaults a
// short command line gets stay as split_command_line adds them.
std::vector<std::string> with_report(const std::string& report, const std::string& rest) {
    std::vector<std::string> words = split_command_line(rest.empty() ? "X" : "X " + rest);
    words[0] = report;
    return words;
}

// The length of the first shell word when it holds a separator, names a file
// and still opens `text`.
std::optional<std::size_t> whole_first_word(const std::string& text,
                                            const std::vector<std::string>& shell_words,
                                            const NamesFile& names_file) {
    if (shell_words.empty()) {
        return std::nullopt;
    }
    const std::string& first = shell_words.front();
    const bool opens_text = text.compare(0, first.size(), first) == 0 &&
                            (text.size() == first.size() || text[first.size()] == ' ');
    if (!opens_text || first.find_first_of(" ,") == std::string::npos || !names_file(first)) {
        return std::nullopt;
    }
    return first.size();
}

std::optional<std::size_t> longest_start_naming_file(const std::string& text,
                                                     const NamesFile& names_file) {
    for (std::size_t end = text.size(); end > 0; --end) {
        const bool ends_word = end == text.size() || is_dos_separator(text[end]);
        if (ends_word && !is_dos_separator(text[end - 1]) &&
            text.substr(0, end).find_first_of(" ,") != std::string::npos &&
            names_file(text.substr(0, end))) {
            return end;
        }
    }
    return std::nullopt;
}

} // namespace

std::vector<std::string> split_report_words(const std::string& text,
                                            const std::vector<std::string>& shell_words,
                                            const NamesFile& names_file) {
    std::optional<std::size_t> report_end = whole_first_word(text, shell_words, names_file);
    if (!report_end) {
        std::vector<std::string> words = split_command_line(text);
        if (words[0].empty() || names_file(words[0])) {
            return words;
        }
        report_end = longest_start_naming_file(text, names_file);
        if (!report_end) {
            return words;
        }
    }
    const std::size_t rest = std::min(*report_end + 1, text.size());
    return with_report(text.substr(0, *report_end), text.substr(rest));
}

bool names_ordinary_file(const std::string& path) {
    return path_kind(path) == PathKind::Regular;
}

} // namespace kvalon
