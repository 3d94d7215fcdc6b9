#pragma once

#include <string>

namespace kvalon {

// The windows are a program of their own in the program folder, installed
// only with the desktop package: the batch program, which prints without
// them, loads no window library.
inline const std::string kDesktopProgram = "kvalon-p-desktop";
// Its word for showing one message box and nothing else.
inline const std::string kMessageWord = "--message";

// Replaces this process by the windows program, which gets `argv` as its
// arguments. Returns only when that failed: with the exit status after
// telling why (the windows program is not installed, or cannot be started).
int start_windows(char** argv);

// Shows `text` in a message box of the windows program and waits until it is
// closed. False, having shown nothing, when no box could be shown: no windows
// program, no display it could reach.
bool show_in_message_box(const std::string& text);

} // namespace kvalon
