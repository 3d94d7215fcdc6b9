#include "platform/owned_fd.h"

#include <cerrno>
#include <unistd.h>

namespace kvalon {

void OwnedFd::close_quietly(int fd) {
    ::close(fd);
}

int OwnedFd::close_checked() {
    const int fd = release();
    return fd >= 0 && ::close(fd) != 0 ? errno : 0;
}

} // namespace kvalon
