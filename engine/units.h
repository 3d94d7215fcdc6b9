#pragma once

// Units the program converts between. Positions on paper are millimetres, the
// printer reports its sheet in twips (1440 to the inch), fonts are sized in
// points (72 to the inch) and drawn in device pixels.
namespace kvalon {

inline constexpr double MmPerInch = 25.4;
inline constexpr double TwipsPerInch = 1440;
inline constexpr double PointsPerInch = 72;
inline constexpr double TwipsPerMm = 56.69291339;
inline constexpr double PointsPerMm = PointsPerInch / MmPerInch;
// The resolution of the PDF printer, and of any page drawn where no device
// gives one: font sizes are whole device pixels of it and fills lie on them.
inline constexpr int DrawingDpi = 600;
// A PDF page is at most 14,400 points (200 inches) a side: no sheet the
// program prints on may be larger.
inline constexpr int LargestSheetSideInches = 200;

} // namespace kvalon
