#!/usr/bin/env python3
"""Writes engine/letter_statistics.cpp: how often each letter occurs in the
languages whose reports the program tells apart by their code page.

The counts come from the message catalogs of the programs installed here
(/usr/share/locale/LANGUAGE/LC_MESSAGES/*.mo): ordinary sentences of each
language, English from the catalogs' own source texts. Letters are counted
without regard to case, as their lower-case form, and only the letters some
code page of the program holds are kept. Each share is given per 100,000
letters; a letter rarer than one in 100,000 is left out.

Usage: make_letter_statistics.py [OUTPUT.cpp]
"""
import collections
import gettext
import glob
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_code_page_tables  # noqa: E402

# Program name, catalog folder (None: the source texts), enumerator.
LANGUAGES = [
    ("bg", "bg", "Bulgarian"),
    ("ru", "ru", "Russian"),
    ("uk", "uk", "Ukrainian"),
    ("sr", "sr", "SerbianCyrillic"),
    ("sr-latn", "sr@latin", "SerbianLatin"),
    ("de", "de", "German"),
    ("fr", "fr", "French"),
    ("es", "es", "Spanish"),
    ("cs", "cs", "Czech"),
    ("sk", "sk", "Slovak"),
    ("pl", "pl", "Polish"),
    ("tr", "tr", "Turkish"),
    ("en", None, "English"),
]
PER = 100000


def catalog_texts(folder):
    pattern = f"/usr/share/locale/{folder or '*'}/LC_MESSAGES/*.mo"
    for path in sorted(glob.glob(pattern)):
        with open(path, "rb") as mo:
            try:
                catalog = gettext.GNUTranslations(mo)._catalog
            except (OSError, UnicodeDecodeError, IndexError, ValueError):
                continue
        for source, translation in catalog.items():
            if folder is None:
                yield source[0] if isinstance(source, tuple) else source
            else:
                yield translation


def folded(letter):
    # The dotted capital I of Turkish lower-cases to i and a combining dot.
    return letter.lower()[0]


def letter_shares(folder, known):
    counts = collections.Counter()
    for text in catalog_texts(folder):
        counts.update(folded(c) for c in text if c.isalpha())
    total = sum(counts.values())
    shares = {c: round(n * PER / total) for c, n in counts.items() if c in known}
    return sorted(((c, n) for c, n in shares.items() if n >= 1), key=lambda item: -item[1])


def known_letters():
    letters = {chr(c) for c in range(ord("a"), ord("z") + 1)}
    for _, iconv_name, _ in make_code_page_tables.PAGES:
        for code in make_code_page_tables.table(iconv_name):
            c = chr(code)
            if c.isalpha():
                letters.add(folded(c))
    return letters


def source_text():
    known = known_letters()
    parts = ["""// Made by scripts/make_letter_statistics.py from the message catalogs of
// the programs of a Debian system: how often each letter occurs in a
// language, without regard to case, per 100,000 letters.

#include "engine/letter_statistics.h"

namespace kvalon {

namespace {

// clang-format off
"""]
    for name, folder, enumerator in LANGUAGES:
        shares = letter_shares(folder, known)
        parts.append(f"constexpr LetterShare k{enumerator}[] = {{\n")
        for start in range(0, len(shares), 6):
            row = ", ".join(f"{{0x{ord(c):04X}, {n}}}" for c, n in shares[start:start + 6])
            parts.append(f"    {row},\n")
        parts.append("};\n")
    parts.append("// clang-format on\n\n} // namespace\n\n")
    parts.append("const std::array<LanguageLetters, kLanguageCount> kLanguageLetters = {{\n")
    for name, _, enumerator in LANGUAGES:
        parts.append(f"    {{\"{name}\", k{enumerator}}},\n")
    parts.append("}};\n\n} // namespace kvalon\n")
    return "".join(parts)


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    output = argv[1] if len(argv) > 1 else os.path.join(here, "..", "engine",
                                                         "letter_statistics.cpp")
    text = source_text()
    with open(output, "w", encoding="utf-8") as out:
        out.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
