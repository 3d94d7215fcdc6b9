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

// A4 as a PDF media box names it, in points (210 x 297 mm, rounded).
inline constexpr double A4WidthPoints = 595;
inline constexpr double A4HeightPoints = 842;

} // namespace kvalon
