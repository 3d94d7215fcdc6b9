#!/usr/bin/env python3
"""Writes the ESC/P sample report: a delivery note as an accounting program
drives an Epson-compatible dot-matrix printer, MIK-encoded. It resets the
printer, asks for letter quality and a 66-line page, prints a double-width
title, bold and underlined headings, an italic remark and a condensed table,
and ends each of its two pages with a form feed. Printed with --escp (or
KVALON_ESCP=1) the sequences act; without, their letters show."""
import subprocess
import sys

ESC = b"\x1b"
RESET, LETTER_QUALITY, PAGE_66_LINES = ESC + b"@", ESC + b"x1", ESC + b"C\x42"
BOLD, BOLD_OFF = ESC + b"E", ESC + b"F"
UNDERLINE, UNDERLINE_OFF = ESC + b"-1", ESC + b"-0"
WIDE, WIDE_OFF = ESC + b"W1", ESC + b"W0"
ITALIC, ITALIC_OFF = ESC + b"4", ESC + b"5"
CONDENSED, CONDENSED_OFF = b"\x0f", b"\x12"
LINE_SPACING_SIXTH = ESC + b"2"


def mik(text):
    return subprocess.run(["iconv", "-f", "UTF-8", "-t", "MIK"], input=text.encode(),
                          capture_output=True, check=True).stdout


ITEMS = [("Брашно тип 500", "кг", 250.000, 1.25), ("Захар кристална", "кг", 120.500, 1.50),
         ("Олио слънчогледово", "л", 96.000, 2.60), ("Ориз \"Зорница\"", "кг", 45.250, 2.50),
         ("Сол йодирана", "кг", 60.000, 0.35), ("Мая прясна", "бр", 48.000, 0.70),
         ("Оцет винен 6°", "л", 24.000, 1.30), ("Чай липов", "кут", 36.000, 2.70)]


def table(first, items):
    rows = [CONDENSED + mik("┌────┬──────────────────────────┬───────┬──────────┬────────┬──────────┐"),
            mik("│ №  │ Стока                    │ Мярка │ Количес- │  Цена  │ Стойност │"),
            mik("│    │                          │       │ тво      │        │          │"),
            mik("├────┼──────────────────────────┼───────┼──────────┼────────┼──────────┤")]
    total = 0
    for number, (name, unit, quantity, price) in enumerate(items, first):
        total += quantity * price
        rows.append(mik(f"│{number:>3} │ {name:<24} │ {unit:<5} │{quantity:>9.3f} │"
                        f"{price:>7.2f} │{quantity * price:>9.2f} │"))
    rows.append(mik("├────┴──────────────────────────┴───────┴──────────┴────────┼──────────┤"))
    rows.append(mik("│ ") + BOLD + mik("Общо за страницата") + BOLD_OFF +
                mik(f"{'':<40}│{total:>9.2f} │"))
    rows.append(mik("└───────────────────────────────────────────────────────────┴──────────┘") +
                CONDENSED_OFF)
    return rows


def page(number, first, items):
    lines = [RESET + LETTER_QUALITY + PAGE_66_LINES + LINE_SPACING_SIXTH +
             WIDE + mik("СТОКОВА РАЗПИСКА № 0417") + WIDE_OFF,
             b"",
             BOLD + mik("Доставчик:") + BOLD_OFF + mik(" СКЛАД \"ЗОРА\" ЕООД, гр. Пловдив"),
             BOLD + mik("Получател:") + BOLD_OFF + mik(" ") + UNDERLINE +
             mik("Магазин \"Изгрев\", гр. Асеновград") + UNDERLINE_OFF,
             mik(f"Дата: 30.11.2026 г.{'':<47}Стр. {number}"),
             b""]
    lines += table(first, items)
    lines += [b"",
              ITALIC + mik("Забележка: стоката се приема по количество и качество.") + ITALIC_OFF,
              b"",
              mik("Предал: ") + UNDERLINE + mik("              ") + UNDERLINE_OFF +
              mik("      Приел: ") + UNDERLINE + mik("              ") + UNDERLINE_OFF]
    return b"\r\n".join(lines) + b"\r\n\x0c\r\n"


sys.stdout.buffer.write(page(1, 1, ITEMS[:5]) + page(2, 6, ITEMS[5:]) + b"\x1a")
