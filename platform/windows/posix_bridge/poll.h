#pragma once

// Windows descriptors of the C runtime do not wait half way: a poll finds
// them ready at once.
struct pollfd {
    int fd;
    short events;
    short revents;
};
#define POLLIN 1
#define POLLOUT 4
inline int poll(pollfd* fds, unsigned long count, int) {
    for (unsigned long i = 0; i < count; ++i) {
        fds[i].revents = fds[i].events;
    }
    return static_cast<int>(count);
}
