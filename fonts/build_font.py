#!/usr/bin/python3
"""Makes crcn.ttf, the CourierCyr face the program prints in, from a freely
licensed monospaced TrueType font.

Only the name table changes: the family becomes CourierCyr Regular, the
typographic family names go, and the copyright, trademark and license notices
stay. The open font license forbids the original's reserved names in a
modified font, so the build fails when one is left in a name a user sees.
Every other table is copied byte for byte, and the header's dates are kept,
so the same input gives the same bytes on every build.

The file is read and written with the standard library alone: tables in the
order the OpenType recommendations give for TrueType outlines, the directory
sorted by tag, every table padded to four bytes, the checksums and the
header's checksum adjustment worked out afresh.

Usage: build_font.py SOURCE.ttf OUTPUT.ttf
"""

import os
import struct
import sys

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

WINDOWS, UNICODE_BMP, ENGLISH_US = 3, 1, 0x409
MACINTOSH, ROMAN, ENGLISH = 1, 0, 0

# The recommended order of the tables of a font with TrueType outlines; the
# others follow by tag.
TABLE_ORDER = ["head", "hhea", "maxp", "OS/2", "hmtx", "LTSH", "VDMX", "hdmx", "cmap", "fpgm",
               "prep", "cvt ", "loca", "glyf", "kern", "name", "post", "gasp", "PCLT"]
CHECKSUM_MAGIC = 0xB1B0AFBA


class FontError(Exception):
    pass


class NameRecord:
    def __init__(self, platform, encoding, language, name_id, data):
        self.platform = platform
        self.encoding = encoding
        self.language = language
        self.name_id = name_id
        self.data = data

    def codec(self):
        if self.platform in (0, WINDOWS):
            return "utf_16_be"
        if self.platform == MACINTOSH and self.encoding == ROMAN:
            return "mac_roman"
        return None

    def text(self):
        codec = self.codec()
        return self.data.decode(codec) if codec else self.data.decode("latin-1")

    def set_text(self, text):
        codec = self.codec()
        if codec is None:
            raise FontError(f"cannot write name {self.name_id} on platform {self.platform}")
        self.data = text.encode(codec)

    def sort_key(self):
        return (self.platform, self.encoding, self.language, self.name_id, self.data)


def read_tables(blob):
    version, count = struct.unpack_from(">4sH", blob, 0)
    if version not in (b"\0\1\0\0", b"true"):
        raise FontError("not a font with TrueType outlines")
    tables = {}
    for i in range(count):
        tag, _, offset, length = struct.unpack_from(">4sLLL", blob, 12 + 16 * i)
        tables[tag.decode("latin-1")] = blob[offset:offset + length]
    return version, tables


def read_names(data):
    table_format, count, storage = struct.unpack_from(">HHH", data, 0)
    if table_format != 0:
        raise FontError(f"name table format {table_format} is not supported")
    names = []
    for i in range(count):
        platform, encoding, language, name_id, length, offset = struct.unpack_from(
            ">HHHHHH", data, 6 + 12 * i)
        start = storage + offset
        names.append(NameRecord(platform, encoding, language, name_id, data[start:start + length]))
    return names


# Records sorted as the format asks; equal strings are stored once.
def write_names(names):
    names = sorted(names, key=NameRecord.sort_key)
    records = []
    strings = b""
    stored = {}
    for record in names:
        if record.data not in stored:
            stored[record.data] = (len(strings), len(record.data))
            strings += record.data
        offset, length = stored[record.data]
        records.append(struct.pack(">HHHHHH", record.platform, record.encoding, record.language,
                                   record.name_id, length, offset))
    return struct.pack(">HHH", 0, len(names), 6 + 12 * len(names)) + b"".join(records) + strings


def find_name(names, name_id, platform, encoding, language):
    for record in names:
        if (record.name_id, record.platform, record.encoding, record.language) == (
                name_id, platform, encoding, language):
            return record
    return None


def version_text(names):
    record = (find_name(names, VERSION_ID, WINDOWS, UNICODE_BMP, ENGLISH_US)
              or find_name(names, VERSION_ID, MACINTOSH, ROMAN, ENGLISH))
    text = record.text() if record else ""
    return text.replace("Version ", "").strip() or "1.0"


def rename(names):
    version = version_text(names)
    new_names = {
        FAMILY_ID: FAMILY,
        SUBFAMILY_ID: SUBFAMILY,
        UNIQUE_ID: f"Kvalon-P: {FAMILY} {SUBFAMILY}: {version}",
        FULL_NAME_ID: FAMILY,
        POSTSCRIPT_ID: POSTSCRIPT_NAME,
    }
    names = [record for record in names if record.name_id not in DROPPED_IDS]
    for record in names:
        if record.name_id in new_names:
            record.set_text(new_names[record.name_id])
    # A source without some of these names still gets all of them.
    for name_id, text in new_names.items():
        if find_name(names, name_id, WINDOWS, UNICODE_BMP, ENGLISH_US) is None:
            record = NameRecord(WINDOWS, UNICODE_BMP, ENGLISH_US, name_id, b"")
            record.set_text(text)
            names.append(record)
    return names


def reserved_names_left(names):
    found = []
    for record in names:
        text = record.text()
        if record.name_id in PRIMARY_IDS and any(word in text.lower() for word in RESERVED_NAMES):
            found.append(f"name {record.name_id}: {text}")
    return found


def checksum(data):
    data += b"\0" * (-len(data) % 4)
    return sum(struct.unpack(f">{len(data) // 4}L", data)) & 0xFFFFFFFF


def search_range(count):
    exponent = count.bit_length() - 1
    searched = (1 << exponent) * 16
    return searched, exponent, max(0, count * 16 - searched)


def write_font(version, tables):
    tags = sorted(tables)
    order = [tag for tag in TABLE_ORDER if tag in tables] + [
        tag for tag in tags if tag not in TABLE_ORDER]
    offset = 12 + 16 * len(tables)
    entries = {}
    body = b""
    for tag in order:
        data = tables[tag]
        if tag == "head":
            data = data[:8] + b"\0\0\0\0" + data[12:]
        entries[tag] = (checksum(data), offset + len(body), len(data))
        body += data + b"\0" * (-len(data) % 4)
    directory = struct.pack(">4sHHHH", version, len(tables), *search_range(len(tables)))
    for tag in tags:
        directory += struct.pack(">4sLLL", tag.encode("latin-1"), *entries[tag])
    total = (sum(entry[0] for entry in entries.values()) + checksum(directory)) & 0xFFFFFFFF
    font = bytearray(directory + body)
    struct.pack_into(">L", font, entries["head"][1] + 8, (CHECKSUM_MAGIC - total) & 0xFFFFFFFF)
    return bytes(font)


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    source, output = argv[1], argv[2]
    try:
        with open(source, "rb") as file:
            version, tables = read_tables(file.read())
        if "name" not in tables or "head" not in tables:
            raise FontError("the font has no name or no head table")
        names = rename(read_names(tables["name"]))
    except (FontError, struct.error, UnicodeError) as error:
        sys.stderr.write(f"build_font.py: {source}: {error}\n")
        return 1
    left = reserved_names_left(names)
    if left:
        sys.stderr.write("build_font.py: reserved font name left in the font:\n  ")
        sys.stderr.write("\n  ".join(left) + "\n")
        return 1
    tables["name"] = write_names(names)
    partial = output + ".part"
    with open(partial, "wb") as file:
        file.write(write_font(version, tables))
    os.replace(partial, output)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
