#pragma once

#include "engine/code_page.h"

namespace kvalon {

// The character tables of an Epson-compatible printer, on top of the code
// page the report is read in.
//
// ESC t n chooses the table of the codes 128..255: 0 the italic table, whose
// codes print the characters 128 below them in italic (those of the control
// codes print nothing); 1, 2 and 3 the graphics table, which is the report's
// code page. ESC R n chooses the international set that puts national
// characters on twelve ASCII codes (# $ @ [ \ ] ^ ` { | } ~): 0 USA, 1 France,
// 2 Germany, 3 UK, 4 Denmark I, 5 Sweden, 6 Italy, 7 Spain I, 8 Japan,
// 9 Norway, 10 Denmark II, 11 Spain II, 12 Latin America, 13 Korea, 64 Legal.
inline constexpr unsigned char kEscpItalicTable = 0;
inline constexpr unsigned char kEscpGraphicsTable = 1;
inline constexpr unsigned char kEscpUsaSet = 0;

// The table ESC t n chooses, or the table in force for a value no printer
// knows. "0" to "3" count as 0 to 3.
unsigned char escp_character_table(unsigned char n, unsigned char in_force);
// The set ESC R n chooses, or the set in force for a value no printer knows.
unsigned char escp_international_set(unsigned char n, unsigned char in_force);

// What a printed byte puts on paper with the tables in force.
struct EscpCharacter {
    char32_t character = 0; // 0: nothing
    bool italic = false;    // printed in italic whatever the style
};

EscpCharacter escp_character(unsigned char byte, unsigned char table, unsigned char set,
                             CodePageId page);

} // namespace kvalon
