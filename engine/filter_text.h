#pragma once

#include <string>

namespace kvalon {

// Turns source text (bytes in the job's code page, job().CodePage) into text
// for one target: "Screen" (exactly, case-sensitive) or anything else for the
// printer. Removes the printer control bytes and the bold marker
// job().SkipChar, and for the screen makes the box characters plain ("-",
// "|" and blank). In MIK it also writes the numero sign as "N" and moves the
// Cyrillic letters 128..191 to their Windows-1251 places; other code pages
// keep their bytes. Text from a form feed that is followed by a carriage
// return onwards is dropped.
std::string filter_text(const std::string& text, const std::string& target);

} // namespace kvalon
