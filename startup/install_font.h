#pragma once

#include "startup/fonts_folder.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kvalon {

// Makes sure the printer offers job().FontFace; otherwise copies
// job().FontFileName from the program's folder into the user's fonts folder
// and registers the copy, so that this very run prints in it. Tells the user
// what to install when it cannot. Never stops the start.
void install_font();

// For a service whose home is not its own (the print-server backend runs as
// the print service's user): when the printer does not offer job().FontFace,
// makes the font file delivered in the program's folder usable in this
// process only, copying nothing anywhere. Tells (show_message) when the file
// is missing or unusable; never stops the job.
void register_delivered_font();

// Everything the installation needs of the world: the real program binds the
// printer, the process and the message box; tests bind temporary folders.
struct FontInstallation {
    std::vector<std::string> offered_faces; // the printer's font list
    std::string face;                       // the face to look for, whole and case-sensitive
    std::string file_name;                  // the font file, e.g. "crcn.ttf"
    std::string program_folder;             // where the font file is delivered
    // Asked only when the face is not offered.
    std::function<FontsFolder()> find_fonts_folder;
    std::function<void(const std::string&)> show_message;
};

// The installation without Qt. Returns the font file the running process
// should register: the new copy in the fonts folder or, when the copy
// failed, the delivered file itself; nothing when the face is offered or
// there is no file to register.
//
// The copy goes to a temporary file in the fonts folder that is then renamed
// over the target, so an old copy (read-only or not) is replaced at once and
// stays as it was when anything fails.
std::optional<std::string> install_font_file(const FontInstallation& installation);

} // namespace kvalon
