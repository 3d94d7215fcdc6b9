#!/usr/bin/env python3
"""Writes a PCL 5 job like an invoicing program's LaserJet driver makes:
PAGES pages (100 unless told), each with a raster logo (delta rows), a frame
and table rules as rectangles, a shaded header, and 50 lines of text placed
by rows, columns and dots, at 10 and 16.67 characters to the inch. With
--forms the logo, frame and header are a macro called on each page and a
form of rules, words and cross-hatched boxes prints as an overlay.

    scripts/make_bench_pcl.py [PAGES] [--forms] > JOB.PCL
"""
import sys

E = b"\x1b"


def logo():
    seed = bytes(32)
    job = E + b"*t150R" + E + b"*p150x150Y" + E + b"*r1A" + E + b"*b3M"
    for r in range(120):
        row = bytes(((r * 7 + i * 13) % 256) if (r // 8 + i // 4) % 2 else 0 for i in range(32))
        delta = b""
        last = 0
        for i in range(32):
            if row[i] != seed[i]:
                offset = i - last
                delta += bytes([offset]) if offset < 31 else bytes([31, offset - 31])
                delta += bytes([row[i]])
                last = i + 1
        job += E + b"*b%dW" % len(delta) + delta
        seed = row
    return job + E + b"*rB"


def heading():
    out = logo()
    out += E + b"*p150x600Y" + E + b"*c2100a4b0P"
    return out + E + b"*p150x620Y" + E + b"*c2100a60b20g2P"


def form():
    out = b""
    for box in range(6):
        out += E + b"*p%dx3200Y" % (150 + box * 350) + E + b"*c300a250b%dg3P" % (box + 1)
    for word in range(20):
        out += E + b"*p%dx%dY" % (1950, 700 + word * 120) + b"Field %d" % word
    return out + E + b"*p140x880Y" + E + b"*c4a2300b0P"


def define(number, body):
    return E + b"&f%dy0X" % number + body + E + b"&f1X"


def page(number, forms):
    out = E + b"&f1y3X" if forms else heading()
    out += E + b"*p200x670Y" + E + b"(s0p10h12V" + b"INVOICE %05d" % number
    for line in range(50):
        out += E + b"&a%dR" % (line + 14) + E + b"&a5C"
        out += b"%4d  Item %-30s %8d.%02d" % (line + 1, b"description %d" % line, line * 37, line)
        out += E + b"*p150x%dY" % (900 + line * 50 + 14) + E + b"*c2100a2b0P"
    out += E + b"(s0p16.67h8.5V" + E + b"&a66R" + E + b"&a0C" + b"Page %d of the job" % number
    out += E + b"(s0p10h12V"
    return out + b"\x0c"


def main():
    args = [a for a in sys.argv[1:] if a != "--forms"]
    forms = "--forms" in sys.argv[1:]
    pages = int(args[0]) if args else 100
    job = E + b"%-12345X@PJL JOB\r\n@PJL ENTER LANGUAGE=PCL\r\n" + E + b"E" + E + b"&l26a0O"
    if forms:
        job += define(1, heading()) + define(2, form()) + E + b"&f2y4X"
    job += b"".join(page(n + 1, forms) for n in range(pages))
    sys.stdout.buffer.write(job + E + b"E" + E + b"%-12345X")


main()
