#pragma once

#include "platform/fonts_folder.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kvalon {

// Makes sure the printer offers job().FontFace: the printer prints in the
// font file delivered in the program's folder, and offers its face when that
// file holds it. Otherwise copies job().FontFileName from the program's folder
// into the user's fonts folder, or tells the user (tell_user) what to install
// when it cannot. Never stops the start.
void install_font();

// For a service whose home is not its own (the print-server backend runs as
// the print service's user): the same check, copying nothing anywhere. Tells
// (tell_user) when the font file is missing or unusable; never stops the job.
void check_delivered_font();

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
    // Where the copy goes when the fonts folder cannot be written (the
    // user's own on Windows); none when unset or when it gives nothing.
    std::function<std::optional<std::string>()> find_own_fonts_folder;
    // Tells the system of the new copy (the file; true when in the user's
    // own folder); unset: nothing to tell.
    std::function<void(const std::string&, bool)> make_known;
};

// The installation itself. Returns the font file a process that draws with
// the system's fonts should register: the new copy in the fonts folder or,
// when the copy failed, the delivered file itself; nothing when the face is
// offered or there is no file to register.
//
// When the fonts folder cannot be written, the copy goes to the user's own
// fonts folder instead. The copy goes to a temporary file in the fonts folder that is then renamed
// over the target, so an old copy (read-only or not) is replaced at once and
// stays as it was when anything fails.
std::optional<std::string> install_font_file(const FontInstallation& installation);

// The fonts folder the installation copies into: the user's, by the XDG
// convention (the system's on Windows).
FontsFolder find_fonts_folder();

} // namespace kvalon
