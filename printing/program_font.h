#pragma once

#include "platform/this_process.h"

#include <memory>
#include <string>
#include <vector>

namespace kvalon {

class FontFileFaces;

// The font file delivered with the program, in its own folder.
inline const std::string kProgramFontFile = "crcn.ttf";

// The files the program prints in, in the order they are tried: its own font
// file beside the executable, then monospaced faces a Debian system usually
// has, printed in when the program's own is missing (the start has told the
// user so).
std::vector<std::string> program_font_candidates();

// The faces every surface of this process measures and prints with, loaded
// from program_font_candidates() at first need.
std::shared_ptr<FontFileFaces> program_faces();

} // namespace kvalon
