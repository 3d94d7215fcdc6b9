#pragma once

#include "engine/signal_cleanup.h"

#include <string>

namespace kvalon {

// A fresh folder in the system's temporary folder that only we may enter
// (0700), for the files of a helper program (gs): what it writes there no
// other user sees, and nothing of another user's is in reach of it. Removed
// with every file in it when the object goes, and by the ending-signal
// handler (engine/signal_cleanup.h) when a signal ends the program first.
class PrivateFolder {
public:
    // Throws KvalonError(FileWrite) naming the temporary folder.
    PrivateFolder();
    ~PrivateFolder();
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    const std::string& path() const { return m_path; }
    // `name` inside the folder.
    std::string file(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
    SignalCleanupEntry m_cleanup;
};

} // namespace kvalon
