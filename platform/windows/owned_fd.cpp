#include "platform/owned_fd.h"

#include <cerrno>
#include <io.h>

namespace kvalon {

void OwnedFd::close_quietly(int fd) {
    ::_close(fd);
}

int OwnedFd::close_checked() {
    const int fd = release();
    return fd >= 0 && ::_close(fd) != 0 ? errno : 0;
}

} // namespace kvalon
