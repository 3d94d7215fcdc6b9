#include "engine/code_page.h"

#include "engine/utf8.h"

#include <algorithm>
#include <array>

namespace kvalon {

namespace {

constexpr unsigned char kFirstHigh = 128;

constexpr std::string_view kAutomatic = "auto";

std::string lower_case(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return lower;
}

const CodePageRow& row_of(CodePageId page) {
    return kCodePageRows[static_cast<std::size_t>(page)];
}

bool is_named(const CodePageRow& row, std::string_view name) {
    return name == row.name ||
           std::find(row.other_names.begin(), row.other_names.end(), name) != row.other_names.end();
}

constexpr std::size_t kUsageWidth = 80;
constexpr std::size_t kUsageIndent = 18;

// Columns on a terminal: one for each character of UTF-8 text.
std::size_t columns_of(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

} // namespace

char32_t character_of(CodePageId page, unsigned char byte) {
    return byte < kFirstHigh
               ? char32_t{byte}
               : kCodePageHighHalves[static_cast<std::size_t>(page)][byte - kFirstHigh];
}

std::string code_page_to_utf8(CodePageId page, std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        append_utf8(text, character_of(page, static_cast<unsigned char>(c)));
    }
    return text;
}

std::string_view code_page_name(CodePageId page) {
    return row_of(page).name;
}

std::optional<CodePageChoice> code_page_choice_named(std::string_view name) {
    const std::string wanted = lower_case(name);
    if (wanted == kAutomatic) {
        return CodePageChoice{true, CodePageId::Mik};
    }
    for (const CodePageRow& row : kCodePageRows) {
        if (!wanted.empty() && is_named(row, wanted)) {
            return CodePageChoice{false, row.id};
        }
    }
    return std::nullopt;
}

std::string_view code_page_choice_name(const CodePageChoice& choice) {
    return choice.automatic ? kAutomatic : code_page_name(choice.page);
}

std::string code_page_name_list() {
    std::string list;
    for (const CodePageRow& row : kCodePageRows) {
        list += row.name;
        list += ", ";
    }
    return list + std::string(kAutomatic);
}

std::string code_page_usage_lines(std::string_view first, std::string_view default_mark) {
    std::string text(first);
    std::size_t column = columns_of(first);
    for (const CodePageRow& row : kCodePageRows) {
        std::string word(row.name);
        if (row.id == CodePageId::Mik) {
            word += default_mark;
        }
        if (row.id != kCodePageRows.back().id) {
            word += ',';
        }
        if (column + 1 + columns_of(word) > kUsageWidth) {
            text += '\n' + std::string(kUsageIndent, ' ');
            column = kUsageIndent;
        } else if (row.id != kCodePageRows.front().id) {
            text += ' ';
            ++column;
        }
        text += word;
        column += columns_of(word);
    }
    return text;
}

} // namespace kvalon
