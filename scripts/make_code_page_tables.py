#!/usr/bin/env python3
"""Writes engine/code_page_tables.cpp: for every code page the program reads,
the character each byte from 128 to 255 stands for.

The tables come from glibc's iconv, which spells MIK exactly as the Bulgarian
DOS programs wrote it. glibc has no Kamenický page: it is code page 437 with
the Czech and Slovak letters over 128..173, listed here. A byte iconv does
not convert is unassigned in that page (U+FFFD).

Usage: make_code_page_tables.py [OUTPUT.cpp]
"""
import os
import subprocess
import sys

# Program name, iconv name, enumerator; the order of engine/code_page.h.
PAGES = [
    ("mik", "MIK", "Mik"),
    ("cp866", "CP866", "Cp866"),
    ("cp437", "CP437", "Cp437"),
    ("cp850", "CP850", "Cp850"),
    ("cp852", "CP852", "Cp852"),
    ("cp855", "CP855", "Cp855"),
    ("cp857", "CP857", "Cp857"),
    ("kamenicky", None, "Kamenicky"),
    ("cp1251", "CP1251", "Cp1251"),
    ("koi8-r", "KOI8-R", "Koi8R"),
]

KAMENICKY_LETTERS = ("ČüéďäĎŤčěĚĹÍľĺÄÁ"
                     "ÉžŽôöÓůÚýÖÜŠĽÝŘť"
                     "áíóúňŇŮÔšřŕŔ¼§")
UNASSIGNED = 0xFFFD


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
        rows.append(f"         /* {128 + start:02X} */ {characters},")
    return "\n".join(rows)


def source_text():
    parts = ["""// Made by scripts/make_code_page_tables.py from glibc's iconv (the Kamenický
// page: code page 437 with its Czech and Slovak letters). For each code page
// the characters of the bytes 128 to 255; U+FFFD where the page has none.

#include "engine/code_page_tables.h"

namespace kvalon {

// Eight bytes a row, the first one's value in hexadecimal in front.
// clang-format off
const std::array<CodePageTable, kCodePageCount> kCodePageTables = {{
"""]
    for name, iconv_name, enumerator in PAGES:
        parts.append(f"    {{CodePageId::{enumerator},\n     \"{name}\",\n     {{\n")
        parts.append(cpp_rows(table(iconv_name)) + "\n")
        parts.append("     }},\n")
    parts.append("}};\n// clang-format on\n\n} // namespace kvalon\n")
    return "".join(parts)


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    output = argv[1] if len(argv) > 1 else os.path.join(here, "..", "engine",
                                                         "code_page_tables.cpp")
    with open(output, "w", encoding="utf-8") as out:
        out.write(source_text())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
