// Made by scripts/make_code_page_tables.py: change the rows there and run it.

#pragma once

#include "engine/letters.h"

#include <array>
#include <cstddef>
#include <cstdint>
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

// One code page. Lists shorter than their array end at the first "".
struct CodePageRow {
    CodePageId id;
    // As the program writes it.
    std::string_view name;
    // The names iconv knows the page by, and ours for the pages it lacks.
    std::array<std::string_view, 4> other_names;
    // The alphabet of most of its letters.
    Script script;
    // In the windows' menu, & before the access key.
    std::string_view caption;
    // The languages reports in the page were written in, by their names in
    // engine/letter_statistics.cpp, the most likely first.
    std::array<std::string_view, 6> languages;
};

// clang-format off
inline constexpr std::array<CodePageRow, 10> kCodePageRows = {{
    {CodePageId::Mik, "mik", {"", "", "", ""},
     Script::Cyrillic, "&MIK (български DOS)",
     {"bg", "ru", "en", "", "", ""}},
    {CodePageId::Cp866, "cp866", {"ibm866", "866", "csibm866", ""},
     Script::Cyrillic, "CP86&6 (руски DOS)",
     {"ru", "bg", "uk", "en", "", ""}},
    {CodePageId::Cp437, "cp437", {"ibm437", "437", "cspc8codepage437", ""},
     Script::Latin, "CP&437 (DOS, английски)",
     {"en", "de", "fr", "es", "", ""}},
    {CodePageId::Cp850, "cp850", {"ibm850", "850", "cspc850multilingual", ""},
     Script::Latin, "CP85&0 (DOS, западноевропейски)",
     {"de", "fr", "es", "en", "", ""}},
    {CodePageId::Cp852, "cp852", {"ibm852", "852", "cspcp852", ""},
     Script::Latin, "CP85&2 (DOS, централноевропейски)",
     {"cs", "sk", "pl", "sr-latn", "de", "en"}},
    {CodePageId::Cp855, "cp855", {"ibm855", "855", "csibm855", ""},
     Script::Cyrillic, "CP85&5 (DOS, кирилица)",
     {"sr", "bg", "ru", "uk", "en", ""}},
    {CodePageId::Cp857, "cp857", {"ibm857", "857", "csibm857", ""},
     Script::Latin, "CP85&7 (DOS, турски)",
     {"tr", "de", "en", "", "", ""}},
    {CodePageId::Kamenicky, "kamenicky", {"cp895", "895", "keybcs2", "kamenický"},
     Script::Latin, "Kamen&ický (DOS, чешки и словашки)",
     {"cs", "sk", "en", "", "", ""}},
    {CodePageId::Cp1251, "cp1251", {"windows-1251", "ms-cyrl", "", ""},
     Script::Cyrillic, "CP&1251 (Windows, кирилица)",
     {"bg", "ru", "uk", "sr", "en", ""}},
    {CodePageId::Koi8R, "koi8-r", {"koi8r", "cskoi8r", "", ""},
     Script::Cyrillic, "&KOI8-R (руски)",
     {"ru", "bg", "en", "", "", ""}},
}};
// clang-format on

inline constexpr std::size_t kCodePageCount = kCodePageRows.size();

constexpr bool rows_follow_the_ids() {
    for (std::size_t p = 0; p < kCodePageCount; ++p) {
        if (kCodePageRows[p].id != static_cast<CodePageId>(p)) {
            return false;
        }
    }
    return true;
}
static_assert(rows_follow_the_ids(), "one row per code page, in the order of CodePageId");

// The characters of the bytes 128 to 255 of each page, in the order of the
// rows; U+FFFD where the page has none (engine/code_page_tables.cpp).
extern const std::array<char32_t, 128> kCodePageHighHalves[kCodePageCount];

} // namespace kvalon
