#pragma once

#include <cerrno>

// The free space of the disk a descriptor's file is on; not asked on
// Windows yet (the writes tell a full disk all the same).
struct statvfs {
    unsigned long long f_bavail;
    unsigned long long f_frsize;
};
inline int fstatvfs(int, struct statvfs*) {
    errno = ENOSYS;
    return -1;
}
