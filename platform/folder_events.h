#pragma once

#include "platform/owned_fd.h"

#include <string>
#include <vector>

namespace kvalon {

// Tells when something in a folder may have changed: a file written and
// closed, renamed in, made or removed. Where the system cannot see that (no
// inotify, a network folder changed by another computer) `fd()` is -1 or stays
// quiet, and the caller looks at the folder on a timer as well.
class FolderEvents {
public:
    explicit FolderEvents(const std::string& folder);
    // Readable when something happened; -1 when nothing can be told.
    int fd() const { return m_fd.get(); }
    // Empties what the descriptor holds.
    void drain();

private:
    OwnedFd m_fd;
};

// Waits until one of `fds` (-1 entries are left out) is readable, an ending
// signal came, or `milliseconds` passed; the index of the first readable one,
// or -1.
int wait_readable(const std::vector<int>& fds, int milliseconds);

} // namespace kvalon
