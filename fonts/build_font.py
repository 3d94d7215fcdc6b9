#!/usr/bin/python3
"""Makes crcn.ttf, the CourierCyr face the program prints in, from a freely
licensed monospaced font.

Only the name table changes: the family becomes CourierCyr Regular, the
typographic family names go, and the copyright, trademark and license notices
stay. The open font license forbids the original's reserved names in a
modified font, so the build fails when one is left in a name a user sees.
Every other table is copied as it is, and the header's dates are kept, so the
same input gives the same bytes on every build.

Usage: build_font.py SOURCE.ttf OUTPUT.ttf
"""

import os
import sys

from fontTools.ttLib import TTFont

FAMILY = "CourierCyr"
SUBFAMILY = "Regular"
POSTSCRIPT_NAME = "CourierCyr-Regular"

FAMILY_ID, SUBFAMILY_ID, UNIQUE_ID, FULL_NAME_ID, VERSION_ID, POSTSCRIPT_ID = 1, 2, 3, 4, 5, 6
# Typographic and WWS family/subfamily names: with them a system would group
# our face under the original family.
DROPPED_IDS = {16, 17, 21, 22}
# Names a user sees as the font's own; none may keep a reserved name.
PRIMARY_IDS = {FAMILY_ID, UNIQUE_ID, FULL_NAME_ID, POSTSCRIPT_ID}
RESERVED_NAMES = ("liberation", "arimo", "tinos", "cousine")


def version_text(name_table):
    record = name_table.getName(VERSION_ID, 3, 1, 0x409) or name_table.getName(VERSION_ID, 1, 0, 0)
    text = record.toUnicode() if record else ""
    return text.replace("Version ", "").strip() or "1.0"


def rename(font):
    names = font["name"]
    version = version_text(names)
    new_names = {
        FAMILY_ID: FAMILY,
        SUBFAMILY_ID: SUBFAMILY,
        UNIQUE_ID: f"Kvalon-P: {FAMILY} {SUBFAMILY}: {version}",
        FULL_NAME_ID: FAMILY,
        POSTSCRIPT_ID: POSTSCRIPT_NAME,
    }
    names.names = [record for record in names.names if record.nameID not in DROPPED_IDS]
    for record in names.names:
        if record.nameID in new_names:
            record.string = new_names[record.nameID]
    # A source without some of these names still gets all of them.
    for name_id, text in new_names.items():
        if names.getName(name_id, 3, 1, 0x409) is None:
            names.setName(text, name_id, 3, 1, 0x409)


def reserved_names_left(font):
    found = []
    for record in font["name"].names:
        text = record.toUnicode().lower()
        if record.nameID in PRIMARY_IDS and any(word in text for word in RESERVED_NAMES):
            found.append(f"name {record.nameID}: {record.toUnicode()}")
    return found


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    source, output = argv[1], argv[2]
    font = TTFont(source, recalcBBoxes=False, recalcTimestamp=False)
    rename(font)
    left = reserved_names_left(font)
    if left:
        sys.stderr.write("build_font.py: reserved font name left in the font:\n  ")
        sys.stderr.write("\n  ".join(left) + "\n")
        return 1
    partial = output + ".part"
    font.save(partial, reorderTables=True)
    os.replace(partial, output)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
