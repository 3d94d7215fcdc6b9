#pragma once

#include "engine/signal_cleanup.h"

#include <functional>
#include <string>

namespace kvalon {

// Qt spools a CUPS job into a file of libcups in the temporary folder and
// removes it only after handing it over. A private folder for that file lets
// an ending signal remove it too (engine/signal_cleanup.h); whatever is left
// in the folder goes with the object.
class SpoolFolder {
public:
    SpoolFolder() = default;
    ~SpoolFolder() { remove(); }
    SpoolFolder(const SpoolFolder&) = delete;
    SpoolFolder& operator=(const SpoolFolder&) = delete;

    // Runs `open_spool` (which creates the spool file) with the temporary
    // folder pointed at a fresh private folder. Without a private folder
    // `open_spool` runs as it would anyway.
    bool open_in(const std::function<bool()>& open_spool);
    // Removes the folder and anything still in it.
    void remove() noexcept;

private:
    std::string m_path;
    SignalCleanupEntry m_folder_entry;
};

} // namespace kvalon
