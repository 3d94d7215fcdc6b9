#pragma once

#include "platform/signal_cleanup.h"

#include <string>

namespace kvalon {

// A folder made from `name_template` (ending in XXXXXX, which the system
// fills in) that only we may enter, whatever the umask, and which file it is.
struct MadeFolder {
    std::string path;
    FileDevice device = 0;
    FileNumber inode = 0;
    // 0, or the errno of the failed making.
    int error = 0;
};
MadeFolder make_private_folder(const std::string& name_template);

} // namespace kvalon
