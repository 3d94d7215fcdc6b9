#pragma once

namespace kvalon {

// The windows' program: the start sequence with the menu window, and the
// one place where a failure becomes the user's message box and a non-zero
// exit status. `kvalon-p` starts it for the windows with its own arguments;
// "--message TEXT" shows one message box for the batch program.
int run_desktop_program(int argc, char** argv);

} // namespace kvalon
