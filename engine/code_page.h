#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kvalon {

// The code pages a report may be written in. MIK, the Bulgarian DOS code
// page, is the program's own and the default.
enum class CodePageId : std::uint8_t {
    Mik,
    Cp866,
    Cp437,
    Cp850,
    Cp852,
    Cp855,
    Cp857,
    Kamenicky,
    Cp1251,
    Koi8R,
};
inline constexpr std::size_t kCodePageCount = 10;

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

} // namespace kvalon
