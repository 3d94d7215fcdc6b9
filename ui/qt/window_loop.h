#pragma once

#include <functional>
#include <string>

namespace kvalon {

class Form_menu;
class PrinterBinding;

// Shows the menu window and runs the windows until the last one closes; the
// user may pick another printer through `binding`. With `open_path` the report
// there is chosen at once, as if from the file dialog. Returns the exit status.
int run_menu_window(PrinterBinding& binding, const std::string& open_path = {});

// Tests drive the running program: while a seam is set it is called once the
// menu window is on screen, before the windows run. Pass nullptr to remove it.
void set_menu_window_seam(std::function<void(Form_menu&)> seam);

} // namespace kvalon
