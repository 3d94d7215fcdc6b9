#pragma once

#include "engine/printer_surface.h"
#include "engine/sheet_offset.h"

namespace kvalon {

// Where the calibration page's marks stand on the sheet as planned, in
// millimetres from its top-left corner; the printer's offset moves them.
inline constexpr double kCalibrationCrossMm = 50;  // the cross the user measures to
inline constexpr int kCalibrationRulerStepMm = 10; // a ruler label every this many

// Draws the calibration page on `surface` in its current paper: heavy lines
// every kCalibrationRulerStepMm over the whole sheet, rulers along the top
// and the left edge (a tick each millimetre, longer each fifth, each tenth
// labelled), a heavy cross through kCalibrationCrossMm across and down on
// millimetre squares, and how to read the offset from it, `current` being
// the offset the page prints with. One page,
// left open: the caller ends the document.
void draw_calibration_page(PrinterSurface& surface, const SheetOffset& current);

} // namespace kvalon
