#pragma once

// Windows paper codes, as DOS callers and printer settings name sheets.
namespace kvalon {

enum PaperCode : int {
    PaperLetter = 1,
    PaperLetterSmall = 2,
    PaperLegal = 5,
    PaperA4 = 9,
    PaperFolio = 14,
    PaperQuarto = 15,
    PaperUserDefined = 256,
};

} // namespace kvalon
