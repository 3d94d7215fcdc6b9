#pragma once

#include <functional>

namespace kvalon {

class Form_menu;

// Shows the menu window and runs the windows until the last one closes.
// Returns the exit status.
int run_menu_window();

// Tests drive the running program: while a seam is set it is called once the
// menu window is on screen, before the windows run. Pass nullptr to remove it.
void set_menu_window_seam(std::function<void(Form_menu&)> seam);

} // namespace kvalon
