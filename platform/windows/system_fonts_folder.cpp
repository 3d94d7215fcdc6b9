#include "platform/fonts_folder.h"

namespace kvalon {

// Every Windows this program runs on is of the NT family.
FontsFolder system_fonts_folder(const Environment& environment) {
    return windows_fonts_folder(kPlatformNt, environment);
}

} // namespace kvalon
