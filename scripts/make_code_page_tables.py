#!/usr/bin/env python3
"""Writes the code pages the program reads, one row per page, from the rows
below: engine/code_page_rows.h (the pages' ids, names, other names, alphabet,
menu caption and the languages their reports are written in) and
engine/code_page_tables.cpp (the character each byte from 128 to 255 stands
for). Every list of pages in the program is made from these rows: a new page
is one row here and a run of this script.

The tables come from glibc's iconv, which spells MIK exactly as the Bulgarian
DOS programs wrote it. glibc has no Kamenický page: it is code page 437 with
the Czech and Slovak letters over 128..173, listed here. A byte iconv does
not convert is unassigned in that page (U+FFFD).

Usage: make_code_page_tables.py [--check] [FOLDER]
  writes the two files into FOLDER/engine (the source tree by default);
  --check writes nothing and fails, naming the file, when one differs.
"""
import collections
import os
import subprocess
import sys

Page = collections.namedtuple(
    "Page", "enumerator name iconv_name other_names script caption languages")

# In the order of the ids: the order of the usage text, the menu and the
# messages; MIK, the program's own page, first. Other names in lower case.
# Languages by their names in engine/letter_statistics.cpp, the most likely
# first; English, all in ASCII, in every one.
PAGES = [
    Page("Mik", "mik", "MIK", [], "Cyrillic", "&MIK (български DOS)", ["bg", "ru", "en"]),
    Page("Cp866", "cp866", "CP866", ["ibm866", "866", "csibm866"], "Cyrillic",
         "CP86&6 (руски DOS)", ["ru", "bg", "uk", "en"]),
    Page("Cp437", "cp437", "CP437", ["ibm437", "437", "cspc8codepage437"], "Latin",
         "CP&437 (DOS, английски)", ["en", "de", "fr", "es"]),
    Page("Cp850", "cp850", "CP850", ["ibm850", "850", "cspc850multilingual"], "Latin",
         "CP85&0 (DOS, западноевропейски)", ["de", "fr", "es", "en"]),
    Page("Cp852", "cp852", "CP852", ["ibm852", "852", "cspcp852"], "Latin",
         "CP85&2 (DOS, централноевропейски)", ["cs", "sk", "pl", "sr-latn", "de", "en"]),
    Page("Cp855", "cp855", "CP855", ["ibm855", "855", "csibm855"], "Cyrillic",
         "CP85&5 (DOS, кирилица)", ["sr", "bg", "ru", "uk", "en"]),
    Page("Cp857", "cp857", "CP857", ["ibm857", "857", "csibm857"], "Latin",
         "CP85&7 (DOS, турски)", ["tr", "de", "en"]),
    Page("Kamenicky", "kamenicky", None, ["cp895", "895", "keybcs2", "kamenický"], "Latin",
         "Kamen&ický (DOS, чешки и словашки)", ["cs", "sk", "en"]),
    Page("Cp1251", "cp1251", "CP1251", ["windows-1251", "ms-cyrl"], "Cyrillic",
         "CP&1251 (Windows, кирилица)", ["bg", "ru", "uk", "sr", "en"]),
    Page("Koi8R", "koi8-r", "KOI8-R", ["koi8r", "cskoi8r"], "Cyrillic", "&KOI8-R (руски)",
         ["ru", "bg", "en"]),
]

KAMENICKY_LETTERS = ("ČüéďäĎŤčěĚĹÍľĺÄÁ"
                     "ÉžŽôöÓůÚýÖÜŠĽÝŘť"
                     "áíóúňŇŮÔšřŕŔ¼§")
UNASSIGNED = 0xFFFD
MADE_BY = "// Made by scripts/make_code_page_tables.py: change the rows there and run it.\n"


def iconv_character(iconv_name, byte):
    result = subprocess.run(["iconv", "-f", iconv_name, "-t", "UTF-32LE"], input=bytes([byte]),
                            capture_output=True)
    if result.returncode != 0 or len(result.stdout) != 4:
        return UNASSIGNED
    return int.from_bytes(result.stdout, "little")


def table(iconv_name):
    if iconv_name is None:
        high = table("CP437")
        for index, letter in enumerate(KAMENICKY_LETTERS):
            high[index] = ord(letter)
        return high
    return [iconv_character(iconv_name, byte) for byte in range(128, 256)]


def cpp_rows(high):
    rows = []
    for start in range(0, 128, 8):
        characters = ", ".join(f"0x{c:04X}" for c in high[start:start + 8])
        rows.append(f"        /* {128 + start:02X} */ {characters},")
    return "\n".join(rows)


def quoted_list(words, size):
    return "{" + ", ".join(f'"{w}"' for w in words + [""] * (size - len(words))) + "}"


def header_text():
    most_names = max(len(page.other_names) for page in PAGES)
    most_languages = max(len(page.languages) for page in PAGES)
    enumerators = ",\n".join(f"    {page.enumerator}" for page in PAGES)
    rows = "".join(
        f"    {{CodePageId::{page.enumerator}, \"{page.name}\", "
        f"{quoted_list(page.other_names, most_names)},\n"
        f"     Script::{page.script}, \"{page.caption}\",\n"
        f"     {quoted_list(page.languages, most_languages)}}},\n" for page in PAGES)
    return f"""{MADE_BY}
#pragma once

#include "engine/letters.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kvalon {{

// The code pages a report may be written in. MIK, the Bulgarian DOS code
// page, is the program's own and the default.
enum class CodePageId : std::uint8_t {{
{enumerators},
}};

// One code page. Lists shorter than their array end at the first "".
struct CodePageRow {{
    CodePageId id;
    // As the program writes it.
    std::string_view name;
    // The names iconv knows the page by, and ours for the pages it lacks.
    std::array<std::string_view, {most_names}> other_names;
    // The alphabet of most of its letters.
    Script script;
    // In the windows' menu, & before the access key.
    std::string_view caption;
    // The languages reports in the page were written in, by their names in
    // engine/letter_statistics.cpp, the most likely first.
    std::array<std::string_view, {most_languages}> languages;
}};

// clang-format off
inline constexpr std::array<CodePageRow, {len(PAGES)}> kCodePageRows = {{{{
{rows}}}}};
// clang-format on

inline constexpr std::size_t kCodePageCount = kCodePageRows.size();

constexpr bool rows_follow_the_ids() {{
    for (std::size_t p = 0; p < kCodePageCount; ++p) {{
        if (kCodePageRows[p].id != static_cast<CodePageId>(p)) {{
            return false;
        }}
    }}
    return true;
}}
static_assert(rows_follow_the_ids(), "one row per code page, in the order of CodePageId");

// The characters of the bytes 128 to 255 of each page, in the order of the
// rows; U+FFFD where the page has none (engine/code_page_tables.cpp).
extern const std::array<char32_t, 128> kCodePageHighHalves[kCodePageCount];

}} // namespace kvalon
"""


def tables_text():
    parts = [MADE_BY, """// The tables are glibc's iconv's (the Kamenický page: code page 437 with its
// Czech and Slovak letters).

#include "engine/code_page_rows.h"

namespace kvalon {

// Eight bytes a row, the first one's value in hexadecimal in front. A table
// short of the rows does not compile: the bound is the declaration's.
// clang-format off
const std::array<char32_t, 128> kCodePageHighHalves[] = {
"""]
    for page in PAGES:
        parts.append(f"    {{ // {page.name}\n")
        parts.append(cpp_rows(table(page.iconv_name)) + "\n")
        parts.append("    },\n")
    parts.append("""};
// clang-format on

static_assert(std::size(kCodePageHighHalves) == kCodePageCount, "one table per code page");

} // namespace kvalon
""")
    return "".join(parts)


def main(argv):
    check = "--check" in argv[1:]
    folders = [a for a in argv[1:] if a != "--check"]
    here = os.path.dirname(os.path.abspath(__file__))
    root = folders[0] if folders else os.path.join(here, "..")
    files = {os.path.join(root, "engine", "code_page_rows.h"): header_text(),
             os.path.join(root, "engine", "code_page_tables.cpp"): tables_text()}
    status = 0
    for path, text in files.items():
        if check:
            with open(path, encoding="utf-8") as old:
                if old.read() != text:
                    print(f"{path} differs from what {os.path.basename(__file__)} makes",
                          file=sys.stderr)
                    status = 1
        else:
            with open(path, "w", encoding="utf-8") as out:
                out.write(text)
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv))
