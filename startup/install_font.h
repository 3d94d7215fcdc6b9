#pragma once

namespace kvalon {

// Makes sure the printer offers job().FontFace; otherwise installs
// job().FontFileName from the program's folder. Never stops the start.
void install_font();

} // namespace kvalon
