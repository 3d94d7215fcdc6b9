#pragma once

namespace kvalon {

// The alphabets of the letters the code pages hold.
enum class Script : unsigned char { None, Latin, Greek, Cyrillic };

// The alphabet of a letter, or None for anything that is not one. Only the
// letters of the Latin, Greek and Cyrillic blocks count; ª, º and µ do not.
Script script_of(char32_t character);

// A letter in its lower-case form (the Turkish dotted capital I as "i"); any
// other character as it is.
char32_t folded_letter(char32_t character);

} // namespace kvalon
