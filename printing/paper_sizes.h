#pragma once

#include <string>

namespace kvalon {

// A sheet of paper as the program plans on it: a standard sheet (its keyword
// and Windows paper code) or one of its own size. Sizes are portrait, as the
// sheet is defined: millimetres and inches to two decimals where converted,
// whole points.
struct PaperSize {
    std::string key; // "A4", "Letter"; "Custom.100x150mm"; empty: no paper
    int windows_code = 0;
    bool standard = false;
    double width_mm = 0;
    double height_mm = 0;
    double width_inches = 0;
    double height_inches = 0;
    int width_points = 0;
    int height_points = 0;

    bool is_valid() const { return !key.empty(); }
};

// Windows paper codes and sheets, both ways. Folio (14), which has no
// standard sheet of its own, is 8 1/2 x 13 in.; a sheet with no code reads
// as 256. An unknown code gives no paper.
PaperSize paper_for_code(int windows_code);
int code_for_paper(const PaperSize& paper);

// The paper a CUPS job or queue names in its media option: a self-describing
// name ("iso_a5_148x210mm", "na_letter_8.5x11in", "custom_100x150mm") or a
// paper keyword ("A5", "letter"), letter case ignored. Of a list
// ("A4,tray-1") the first paper counts. A size within 3 points of a standard
// sheet is that sheet. No paper when no part names one.
PaperSize paper_for_media(const std::string& media);

// A sheet of this size in whole points, as a printer lists its papers:
// standard when within 3 points of one, else a sheet of its own.
PaperSize paper_of_points(int width, int height);

// A printer's own paper as its PPD file names it: the standard sheet of that
// keyword (letter case counts; "Rotated" and ".Transverse" are ignored), else
// the sheet of its size in whole points.
PaperSize paper_of_printer(const std::string& keyword, int width_points, int height_points);

} // namespace kvalon
