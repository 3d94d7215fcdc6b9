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

// Files hold bytes: no descriptor translates line ends.
#undef O_RDONLY
#undef O_WRONLY
#undef O_RDWR
#define O_RDONLY (_O_RDONLY | _O_BINARY)
#define O_WRONLY (_O_WRONLY | _O_BINARY)
#define O_RDWR (_O_RDWR | _O_BINARY)

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

// A file's facts as POSIX gives them, read through the system's own calls
// for paths in UTF-8: the device is the volume's serial number, the inode
// the file's number there, the same whether asked by name or by descriptor.
struct kvalon_stat {
    unsigned long long st_dev;
    unsigned long long st_ino;
    unsigned short st_mode;
    short st_nlink;
    short st_uid;
    short st_gid;
    long long st_size;
    long long st_mtime;
};
// The function has the name of its record, as POSIX's stat has.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wshadow"
int kvalon_stat(const char* path, struct kvalon_stat* info);
#pragma GCC diagnostic pop
int kvalon_fstat(int fd, struct kvalon_stat* info);
#undef stat
#undef fstat
#define stat kvalon_stat
#define fstat kvalon_fstat

int kvalon_bridge_open(const char* path, int flags, int mode = 0);

inline int lstat(const char* path, struct kvalon_stat* info) {
    return ::kvalon_stat(path, info);
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
