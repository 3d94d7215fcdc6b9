#pragma once

namespace kvalon {

// For the windows, which draw the preview with the system's fonts: makes sure
// the font system offers job().FontFace; otherwise copies job().FontFileName
// from the program's folder into the user's fonts folder and registers the
// copy, so that this very run shows it. Tells the user what to install when
// it cannot. Never stops the start.
void install_window_font();

} // namespace kvalon
