#pragma once

#include "platform/owned_fd.h"
#include "platform/signal_cleanup.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kvalon {

// What a watched folder holds, one entry a name, as one look tells it.
struct FolderEntry {
    std::string name;
    bool regular = false;
    std::int64_t size = 0;
    std::int64_t changed_ns = 0; // the last change of its bytes or of its inode
    FileDevice device = 0;
    FileNumber inode = 0;
};

// The entries of `folder` but "." and "..", in no order; empty when it
// cannot be read (`error` then holds the errno).
std::vector<FolderEntry> list_folder(const std::string& folder, int& error);

// True when `path` names a folder.
bool is_folder(const std::string& path);

// Makes `path` a folder (mode 0755 less the umask) unless it is one: 0 or the
// errno.
int make_folder(const std::string& path);
// The same for a folder only we may enter (mode 0700).
int make_owner_only_folder(const std::string& path);

// Renames `from` to `to` unless `to` exists: 0, EEXIST, or the errno. Both
// lie in one file system.
int rename_no_replace(const std::string& from, const std::string& to);

// Renames `from` over `to`, replacing it at once for every reader: 0 or the
// errno.
int replace_file(const std::string& from, const std::string& to);

// Removes a file: 0 or the errno.
int remove_file(const std::string& path);

// Puts the names of `folder` on the disk: a rename into it or out of it
// survives a power cut once this returned 0.
int sync_folder(const std::string& folder);

// Writes `text` at the end of `path` (made 0600 when missing) and on the
// disk before returning 0; or the errno.
int append_synced(const std::string& path, const std::string& text);

// Reads a whole small file; false when it cannot.
bool read_small_file(const std::string& path, std::string& text);

// A file we work on, held under an exclusive lock that another process asking
// for it does not get; the lock goes with the object or with the process,
// however it ends.
class FileClaim {
public:
    // Opens `path` and takes its lock without waiting: `held()` false when
    // the file is gone or someone else holds it.
    explicit FileClaim(const std::string& path);
    bool held() const { return m_file.valid(); }
    // The descriptor the lock is on: a process it is passed to holds the
    // lock as well, until it ends.
    int fd() const { return m_file.get(); }
    // Whether `path` still names the file held.
    bool names_held_file(const std::string& path) const;

private:
    OwnedFd m_file;
};

// A lock on the file at `path` (made 0600 when missing), shared or
// exclusive, held until the object goes; `held()` false when it was not
// granted (`wait` false and someone else holds it exclusively, or the file
// cannot be made).
class FolderLock {
public:
    FolderLock(const std::string& path, bool exclusive, bool wait);
    bool held() const { return m_file.valid(); }

private:
    OwnedFd m_file;
};

// False while some process holds `path` open for writing, as far as the
// system can tell us (a file of another user, or on a network folder, always
// counts as closed: its settling time decides alone).
bool closed_by_writers(const std::string& path);

// Whether `name` matches the shell pattern `pattern` (*, ?, [...]); a leading
// dot is matched only by a dot.
bool name_matches(const std::string& pattern, const std::string& name);

} // namespace kvalon
