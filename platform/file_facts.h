#pragma once

#include "platform/signal_cleanup.h"

#include <cstdint>
#include <string>

namespace kvalon {

// What a name or an open file is: nothing, an ordinary file, a folder, a
// symbolic link (only when links are not followed) or anything else (a pipe,
// a device, a socket).
enum class FileType { Missing, Regular, Folder, Link, Other };

// Which file, of what size and age: a file that planning measured must be
// the same when its pages are read.
struct FileIdentity {
    FileDevice device = 0;
    FileNumber inode = 0;
    std::int64_t size = 0;
    std::int64_t modified_ns = 0;
    bool operator==(const FileIdentity&) const = default;
};

// What the system tells of one file.
struct FileFacts {
    FileType type = FileType::Missing;
    FileIdentity identity;
    unsigned permissions = 0; // the nine permission bits (0644)
    unsigned owner = 0;       // user and group numbers
    unsigned group = 0;
    bool is_same_file(const FileFacts& other) const {
        return identity.device == other.identity.device && identity.inode == other.identity.inode;
    }
};

// Whether a symbolic link is looked through or looked at.
enum class Links { Follow, Look };

// 0 and the facts of what `path` names, or the errno why it cannot be looked
// at (ENOENT: nothing there; `facts.type` is then Missing).
int facts_at(const std::string& path, Links links, FileFacts& facts);
// 0 and the facts of the open file `fd`, or the errno.
int facts_of(int fd, FileFacts& facts);

// The user this process acts as, and root's number.
unsigned effective_user();
constexpr unsigned kRootUser = 0;
// What the umask takes from a new file's permissions, read without changing it.
unsigned current_umask();

// 0 and what the symbolic link `path` holds, or the errno.
int read_link(const std::string& path, std::string& destination);

} // namespace kvalon
