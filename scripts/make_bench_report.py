#!/usr/bin/env python3
"""Writes a long MIK report for the benchmarks: PAGES pages as the program
prints them (48 lines of 134 columns: landscape A4 at 9 points), each page a
table with single frames, Cyrillic text, figures and a bold heading."""
import sys

pages = int(sys.argv[1]) if len(sys.argv) > 1 else 1000

# MIK: А..я are 128..191; box characters as the DOS code page has them.
def mik(text):
    out = bytearray()
    for ch in text:
        code = ord(ch)
        if 0x410 <= code <= 0x44F:
            out.append(code - 0x410 + 128)
        else:
            out.append({"┌": 218, "┬": 194, "┐": 207, "│": 211, "├": 195, "┼": 197,
                        "┤": 212, "└": 192, "┴": 193, "┘": 217, "─": 196, "№": 213}.get(ch, code))
    return bytes(out)

widths = [6, 40, 10, 18, 18, 18, 16]
def rule(left, middle, right):
    return left + middle.join("─" * w for w in widths) + right

names = ["Брашно тип 500", "Захар кристална", "Олио слънчогледово", "Ориз дългозърнест",
         "Сол йодирана", "Мая прясна", "Оцет винен", "Чай липов"]
out = sys.stdout.buffer
for page in range(1, pages + 1):
    lines = ["\x02ОБОРОТНА ВЕДОМОСТ ПО СКЛАДОВЕ\x02" + " " * 82 + f"Стр. {page:6d}",
             "", rule("┌", "┬", "┐"),
             "│" + "│".join(t.center(w) for t, w in zip(
                 ["№", "Наименование", "Мярка", "Начално", "Приход", "Разход", "Крайно"],
                 widths)) + "│",
             rule("├", "┼", "┤")]
    for row in range(40):
        n = (page * 40 + row)
        cells = [f"{n % 100000:>5} ", f" {names[n % len(names)]:<39}", " кг       ",
                 f"{n * 1.25 % 99999:>17.2f} ", f"{n * 0.75 % 9999:>17.2f} ",
                 f"{n * 0.5 % 9999:>17.2f} ", f"{n * 1.5 % 9999:>15.2f} "]
        lines.append("│" + "│".join(cells) + "│")
    lines.append(rule("└", "┴", "┘"))
    lines.append("")
    out.write(mik("\r\n".join(lines) + "\r\n"))
