#pragma once

#include <memory>
#include <string>
#include <vector>

namespace kvalon {

class FontFileFaces;

// The font file delivered with the program, in its own folder.
inline const std::string kProgramFontFile = "crcn.ttf";

// The folder of the running executable (past any link to it), without a
// trailing slash; empty when the system does not say.
std::string program_folder();

// The files the program prints in, in the order they are tried: its own font
// file beside the executable, then monospaced faces a Debian system usually
// has, printed in when the program's own is missing (the start has told the
// user so).
std::vector<std::string> program_font_candidates();

// The faces every surface of this process measures and prints with, loaded
// from program_font_candidates() at first need.
std::shared_ptr<FontFileFaces> program_faces();

} // namespace kvalon
