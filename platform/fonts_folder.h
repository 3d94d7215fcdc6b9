#pragma once

#include "platform/this_process.h"

#include <optional>
#include <string>
#include <vector>

namespace kvalon {

// Where the font file is copied, as found on a Windows system.
struct FontsFolder {
    enum class Status {
        Found,           // `path` holds the folder, ending in "\FONTS\"
        UnknownPlatform, // the platform code names no variable
        NotFound,        // the variable is not among the entries examined
    };
    Status status = Status::NotFound;
    std::string path;
};

// Platform codes of the system-information control.
inline constexpr int kPlatformWin9x = 1; // the folder comes from WINBOOTDIR
inline constexpr int kPlatformNt = 2;    // the folder comes from SYSTEMROOT

// The system fonts folder of a Windows system: the value of WINBOOTDIR
// (platform code 1) or SYSTEMROOT (code 2) followed by "\FONTS\". Only the
// first 200 entries are examined, an empty entry ends the walk, an entry
// matches when its name begins with the variable's name in any letter case,
// and a later match wins.
FontsFolder windows_fonts_folder(int platform_code, const Environment& environment);

// The user's fonts folder by the XDG convention: $XDG_DATA_HOME/fonts, or
// $HOME/.local/share/fonts when XDG_DATA_HOME is unset, empty or relative.
// Nothing when neither gives an absolute folder. No trailing slash.
std::optional<std::string> user_fonts_folder(const Environment& environment);

// Where this system installs a font for the user: the XDG folder here
// (user_fonts_folder), the Windows fonts folder of the NT family there.
FontsFolder system_fonts_folder(const Environment& environment);

// Where a font goes when the system fonts folder cannot be written: on
// Windows the user's own (%LOCALAPPDATA%\Microsoft\Windows\Fonts); nothing
// here, where system_fonts_folder is the user's own already.
std::optional<std::string> own_fonts_folder(const Environment& environment);

// The faces the system draws every program's text in, when it draws the
// printers' pages itself (Windows: GDI draws what the spooler prints, so a
// face must be installed whatever the printer lists). Nothing here: the
// printer's own list decides.
std::optional<std::vector<std::string>> system_font_faces();

// Makes the font file just copied to `file` known by its `face`: on Windows
// registered (HKLM, or HKCU for the user's own folder), added for the running
// session and announced to the programs running (WM_FONTCHANGE). Here the
// font library finds a new file by itself. False when it was not registered.
bool make_font_known(const std::string& file, const std::string& face, bool own_folder);

} // namespace kvalon
