#pragma once

#include <QString>

#include <string>

namespace kvalon {

// A page of the report (bytes of the job's code page, lines ended by CR LF)
// as the text view shows it: every character as the paper shows it (letters,
// °, ±, §, shades and blocks), MIK's numero sign as "N" as printed, the
// box-drawing characters as
// the plain "-", "|" and blank of the screen, the printer's control bytes and
// the bold marker left out; lines end with LF.
QString page_display_text(const std::string& page);

} // namespace kvalon
