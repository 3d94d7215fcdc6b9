#pragma once

#include "engine/code_page_rows.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kvalon {

// The character a byte of a report stands for in `page`. Bytes below 128 are
// ASCII in every page (their control codes included); a byte the page leaves
// unassigned is U+FFFD.
char32_t character_of(CodePageId page, unsigned char byte);

// The bytes' characters in UTF-8, one for every byte, control codes included.
std::string code_page_to_utf8(CodePageId page, std::string_view bytes);

// The page's name as the program writes it: "mik", "cp866", ..., "kamenicky",
// "cp1251", "koi8-r".
std::string_view code_page_name(CodePageId page);

// What the user asked for: one code page, or `automatic`, the page the
// program tells from the report itself.
struct CodePageChoice {
    bool automatic = false;
    CodePageId page = CodePageId::Mik;
    bool operator==(const CodePageChoice&) const = default;
};

// The choice a name stands for: the names iconv knows these pages by
// ("CP866", "IBM866", "866", "WINDOWS-1251", "KOI8-R", ...), "mik",
// "kamenicky" (also "cp895", "keybcs2") and "auto", in any letter case.
std::optional<CodePageChoice> code_page_choice_named(std::string_view name);

// "auto" or the page's name.
std::string_view code_page_choice_name(const CodePageChoice& choice);

// Every choice by its own name, separated by ", ", as a message lists them.
std::string code_page_name_list();

// The pages' names for the usage text: `first` (the line's start), then the
// names separated by ", ", MIK's followed by `default_mark`, wrapped within
// the usage text's 80 columns under the options' descriptions (column 19).
std::string code_page_usage_lines(std::string_view first, std::string_view default_mark);

} // namespace kvalon
