#pragma once

#include <span>

namespace kvalon {

// The standard sheets the program knows by name, each with its size as
// defined (in millimetres or inches, portrait) and in whole points, and its
// Windows paper code (0 when Windows has none). The figures are those the
// program has always planned with: a sheet defined in inches keeps its
// millimetres to two decimals (Letter is 215.9 x 279.4 mm, 612 x 792 points).
struct StandardPaper {
    enum class Unit { Millimetre, Inch };
    struct Points {
        int width;
        int height;
    };
    struct Size {
        double width;
        double height;
    };
    const char* key; // the paper's keyword: "A4", "Letter", "EnvDL"
    int windows_code;
    Unit unit; // the unit the sheet is defined in
    Points points;
    Size millimetres;
    Size inches;
};

std::span<const StandardPaper> standard_papers();

// The sheet a Windows paper code names; nothing for a code without one (0,
// 14, 256, ...). Several codes may name one sheet (3 and 17 are Tabloid).
const StandardPaper* standard_paper_for_code(int windows_code);

} // namespace kvalon
