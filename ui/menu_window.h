#pragma once

namespace kvalon {

// Shows the menu window and runs the windows until the last one closes.
// Returns the exit status.
int run_menu_window();

} // namespace kvalon
