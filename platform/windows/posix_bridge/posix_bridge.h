#pragma once

// The POSIX calls that files of the engine, the printing layer and start-up
// still make themselves, as the Windows build gives them: in terms of the C
// runtime's descriptors and the system's wide-character calls. Every source
// file of the Windows build sees this first; it goes when those calls have
// moved behind platform/.

#include <cerrno>
#include <cstddef>
#include <ctime>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#ifndef O_CLOEXEC
#define O_CLOEXEC _O_NOINHERIT
#endif
#ifndef O_NONBLOCK
#define O_NONBLOCK 0
#endif
#ifndef O_TMPFILE
#define O_TMPFILE 0
#endif
#ifndef O_DIRECTORY
#define O_DIRECTORY 0
#endif
#ifndef O_NOFOLLOW
#define O_NOFOLLOW 0
#endif
#ifndef NAME_MAX
#define NAME_MAX 255
#endif
#ifndef S_ISLNK
#define S_ISLNK(mode) 0
#endif
#ifndef EDQUOT
#define EDQUOT 1001
#endif
#ifndef ESTALE
#define ESTALE 1002
#endif
#ifndef F_GETFD
#define F_GETFD 1
#define F_SETFL 4
#define F_DUPFD_CLOEXEC 1030
#endif

// As the C runtime's file facts hold them.
using uid_t = short;
using gid_t = short;

// The calls take and give UTF-8 paths.
int kvalon_bridge_open(const char* path, int flags, int mode = 0);
int kvalon_bridge_stat(const char* path, struct stat* info);
int kvalon_bridge_rename(const char* from, const char* to);
int kvalon_bridge_unlink(const char* path);

inline int lstat(const char* path, struct stat* info) {
    return kvalon_bridge_stat(path, info);
}
// Access is the folder's on Windows: nothing to set per file.
inline int fchmod(int, mode_t) {
    return 0;
}
inline int fchown(int, uid_t, gid_t) {
    return 0;
}
inline uid_t geteuid() {
    return 0;
}
inline int fsync(int fd) {
    return ::_commit(fd);
}
inline ssize_t readlink(const char*, char*, std::size_t) {
    errno = EINVAL;
    return -1;
}
inline int posix_fallocate(int, off_t, off_t) {
    return ENOSYS;
}
ssize_t pread(int fd, void* buffer, std::size_t count, off_t offset);
int mkostemp(char* name_template, int flags);
int fcntl(int fd, int command, int argument = 0);
inline struct tm* localtime_r(const std::time_t* time, struct tm* local) {
    return ::localtime_s(local, time) == 0 ? local : nullptr;
}
