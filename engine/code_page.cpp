#include "engine/code_page.h"

#include "engine/code_page_tables.h"
#include "engine/utf8.h"

#include <algorithm>
#include <array>

namespace kvalon {

namespace {

constexpr unsigned char kFirstHigh = 128;

struct KnownName {
    const char* name;
    CodePageId page;
};

// The names iconv knows each page by, and our own for the pages it lacks.
constexpr KnownName kOtherNames[] = {
    {"ibm866", CodePageId::Cp866},
    {"866", CodePageId::Cp866},
    {"csibm866", CodePageId::Cp866},
    {"ibm437", CodePageId::Cp437},
    {"437", CodePageId::Cp437},
    {"cspc8codepage437", CodePageId::Cp437},
    {"ibm850", CodePageId::Cp850},
    {"850", CodePageId::Cp850},
    {"cspc850multilingual", CodePageId::Cp850},
    {"ibm852", CodePageId::Cp852},
    {"852", CodePageId::Cp852},
    {"cspcp852", CodePageId::Cp852},
    {"ibm855", CodePageId::Cp855},
    {"855", CodePageId::Cp855},
    {"csibm855", CodePageId::Cp855},
    {"ibm857", CodePageId::Cp857},
    {"857", CodePageId::Cp857},
    {"csibm857", CodePageId::Cp857},
    {"cp895", CodePageId::Kamenicky},
    {"895", CodePageId::Kamenicky},
    {"keybcs2", CodePageId::Kamenicky},
    {"kamenický", CodePageId::Kamenicky},
    {"windows-1251", CodePageId::Cp1251},
    {"ms-cyrl", CodePageId::Cp1251},
    {"koi8r", CodePageId::Koi8R},
    {"cskoi8r", CodePageId::Koi8R},
};

constexpr std::string_view kAutomatic = "auto";

std::string lower_case(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return lower;
}

const CodePageTable& table_of(CodePageId page) {
    return kCodePageTables[static_cast<std::size_t>(page)];
}

} // namespace

char32_t character_of(CodePageId page, unsigned char byte) {
    return byte < kFirstHigh ? char32_t{byte} : table_of(page).high[byte - kFirstHigh];
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
    return table_of(page).name;
}

std::optional<CodePageChoice> code_page_choice_named(std::string_view name) {
    const std::string wanted = lower_case(name);
    if (wanted == kAutomatic) {
        return CodePageChoice{true, CodePageId::Mik};
    }
    for (const CodePageTable& table : kCodePageTables) {
        if (wanted == table.name) {
            return CodePageChoice{false, table.id};
        }
    }
    for (const KnownName& known : kOtherNames) {
        if (wanted == known.name) {
            return CodePageChoice{false, known.page};
        }
    }
    return std::nullopt;
}

std::string_view code_page_choice_name(const CodePageChoice& choice) {
    return choice.automatic ? kAutomatic : code_page_name(choice.page);
}

std::string code_page_name_list() {
    std::string list;
    for (const CodePageTable& table : kCodePageTables) {
        list += table.name;
        list += ", ";
    }
    return list + std::string(kAutomatic);
}

} // namespace kvalon
