#!/usr/bin/env python3
"""Writes the corpus of each fuzz target into fuzz/corpus/<target>/.

The inputs are our own small ones: command lines as DOS callers write them,
report lines with every kind of byte the reports carry, and whole reports with
the shapes that stress planning and page reading. Other files in those folders
(findings of the fuzzers, kept as regression inputs) are left alone.
"""
import os
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "fuzz", "corpus")

MIK_TABLE = (
    b"\xda\xc4\xc4\xc2\xc4\xc4\xcf\r\n"
    b"\xd3\x80\x81\x82\xd3\xd5 1\xd3\r\n"
    b"\xc3\xc4\xc4\xc5\xc4\xc4\xd4\r\n"
    b"\xd3\x02\xa0\xa1\x02\xd3\xd0\xd1\xd2\xd3\r\n"
    b"\xc0\xc4\xc4\xc1\xc4\xc4\xd9\r\n"
)
DOUBLE_BOX = b"\xc9\xcd\xcb\xcd\xd7\r\n\xc7 \xc7 \xc7\r\n\xcc\xcd\xce\xcd\xc6\r\n\xc8\xcd\xca\xcd\xd8\r\n"

COMMAND_LINES = {
    "path": b"C:\\DATA\\REPORT.TXT",
    "plan_comma": b"REPORT.TXT,1",
    "comma_blank": b"REPORT.TXT, 1, 10",
    "three_blanks": b"REPORT.TXT   1",
    "trailing_comma": b"REPORT.TXT,",
    "leading_comma": b",REPORT.TXT",
    "quoted": b'"REPORT.TXT" 0 8 extra',
    "options": b"--plan\0REPORT.TXT",
    "escp_option": b"--escp\0--plan\0REPORT.TXT",
    "pdf_option": b"--pdf=out.pdf\0--paper\x009\0REPORT.TXT\x000\x0010",
    "bad_copies": b"--copies\x000\0REPORT.TXT",
    "double_dash": b"--\0--plan",
    "printer": b"--printer\0PDF\0--copies=2\0r.txt",
    "numbers": b"r.txt +1 1e3 0x1 -0 .5 1.0",
}

LINES = {
    "table": MIK_TABLE,
    "double_box": DOUBLE_BOX,
    "page_break_cut": b"ab\x0c\r\ncd",
    "controls": b"\x1bE\x0fcondensed\x12\x1b@",
    "letters": bytes(range(128, 192)),
    "all_bytes": bytes(range(256)),
}


def report(body):
    """A fuzz_print_source input: paper, size word, batch flag, then the file."""
    return bytes([0, 0, 1]) + body


REPORTS = {
    "table": report(MIK_TABLE * 3),
    "form_feed_pages": report(b"first\r\n\x0c\r\nsecond\r\n\x0cthird\r\n"),
    "form_feed_storm": report(b"\x0c\r\n" * 40 + b"x\r\n" + b"\x0c" * 40),
    "only_crs": report(b"\r" * 200),
    "lf_only": report(b"no\ncarriage\nreturn\n"),
    "no_line_end": report(b"\x80\x81" * 300),
    "nuls": report(b"\0\0a\0\r\n\0\r\n"),
    "dos_eof": report(b"kept\r\n\x1adropped\r\n"),
    "bold": report(b"a\x02b\x02c\r\n\x02\r\n\x02\x02\r\n"),
    "interactive": bytes([1, 2, 0]) + b"footer job\r\n",
    "tiny_paper": bytes([4, 0, 1]) + b"x\r\n",
    "narrow_paper": bytes([3, 3, 1]) + b"y" * 150 + b"\r\n",
    "landscape": bytes([0, 0, 1]) + b"w" * 180 + b"\r\n",
    "longest_line_allowed": report(b"a" * 32765 + b"\r\nb\r\n"),
    "line_too_long": report(b"c" * 40000),
}


ESC = b"\x1b"

# Every kind of ESC/P sequence, whole and cut short, and the page model's
# moves. A fuzz_escp_reader input is the report itself.
ESCP = {
    "attributes": ESC + b"@" + ESC + b"E" + ESC + b"-1bold" + ESC + b"F" + ESC + b"4" + ESC
    + b"W1wide" + ESC + b"W0\x0eso\x14" + ESC + b"!\xf8all" + ESC + b"!\x00\r\nnext\r\n",
    "fixed": ESC + b"x1" + ESC + b"C\x42" + ESC + b"C\x00\x0c" + ESC + b"A\x0c" + ESC + b"$\x10\x00"
    + ESC + b"X\x00\x10\x00" + ESC + b"M\x0f\x12text\r\n",
    "images": ESC + b"*\x27\x02\x00" + b"\r" * 6 + ESC + b"K\x03\x00" + ESC + b"EZ" + ESC
    + b"^\x00\x01\x00ab" + ESC + b"(C\x02\x00\x0c\x00after\r\n",
    "raster": ESC + b".\x00\x0a\x0a\x02\x09\x00ZZZZ" + ESC + b".\x01\x0a\x0a\x01\x10\x00\xffZ" + ESC
    + b".\x01\x0a\x0a\x02\x18\x00\x02abc\xfe\x00done\r\n",
    "lists": ESC + b"D\x08\x10\x00" + ESC + b"D\x08\x05" + ESC + b"B" + bytes(range(1, 20)) + ESC
    + b"b\x01\x05\x00" + ESC + b"&\x00AB\x00\x01\x00ZZZ\x00\x02\x00ZZZZZZ" + ESC + b":\x00\x00\x00\r\n",
    "cut": b"a" + ESC + b"\rb" + ESC + b"W\rc" + ESC + b"*\x00\x10\x00zz\rd" + ESC,
    "controls": b"\x00\x07\x08\x0b\x0e\x0f\x11\x12\x13\x14\x18\x7f\x02mid\x02\t\n\x0c\r\n",
    "pages": ESC + b"C\x03" + b"a\n" * 4 + ESC + b"N\x01" + b"b\n" * 4 + ESC + b"O" + ESC
    + b"C\x00\x01" + ESC + b"3\x50" + b"c\n" * 5 + ESC + b"B\x02\x04\x00d\x0be\x0bf\x0bg\x0c",
    "moves": ESC + b"l\x05" + ESC + b"Q\x0aabcdefghij" + ESC + b"$\x3c\x00k" + ESC
    + b"\\\xd0\xffl\tm\bn\ro" + ESC + b"(U\x01\x00\x05" + ESC + b"(V\x02\x00\x10\x00p" + ESC
    + b"(v\x02\x00\xf0\xffq" + ESC + b"J\x30" + ESC + b"j\x10r\n",
    "wrap_across": ESC + b"C\x02" + ESC + b"Q\x02\n" + ESC + b"W1abc" + ESC + b"K\x10\x00"
    + b"\xff" * 16 + b"\x1a" + b"tail",
}


def write(target, inputs):
    folder = os.path.join(ROOT, target)
    os.makedirs(folder, exist_ok=True)
    for name, data in inputs.items():
        with open(os.path.join(folder, name), "wb") as out:
            out.write(data)


def main():
    write("fuzz_command_line", COMMAND_LINES)
    markers = {name: b"\x02" + data for name, data in LINES.items()}
    markers["no_marker"] = b"\0" + MIK_TABLE
    write("fuzz_filter_screen", markers)
    write("fuzz_filter_printer", markers)
    write("fuzz_escp_reader", ESCP)
    escp_reports = {"escp_" + name: bytes([0, 0, 3]) + data * 3 for name, data in ESCP.items()}
    write("fuzz_print_source", {**REPORTS, **escp_reports})
    return 0


if __name__ == "__main__":
    sys.exit(main())
