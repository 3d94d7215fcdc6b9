#pragma once

#include "engine/replace_target.h"
#include "platform/file_facts.h"
#include "platform/owned_fd.h"
#include "platform/signal_cleanup.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace kvalon {

// A file of our own under a fresh name in a folder: created exclusively, so
// never an existing file and never through a link someone planted there; only
// we can read it until it is placed; removed when its owner goes unless kept,
// and when an ending signal stops the program (platform/signal_cleanup.h). Its
// name carries the run that made it (platform/temporary_name.h), and files that
// earlier runs killed outright left in the folder are removed first.
// Failures throw KvalonError(FileWrite) naming `error_path`, the file the user
// knows (the target, not the temporary name).
class TemporaryFile {
public:
    TemporaryFile(const std::string& folder, const std::string& prefix, std::string error_path);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const { return m_fd.get(); }
    const std::string& path() const { return m_path; }
    const std::string& error_path() const { return m_error_path; }

    // Every byte, retrying after signals and short writes.
    void write_all(std::string_view bytes);
    // Flushes the content to the disk and closes the file.
    void sync_and_close();
    // Closes the file; a file only this run reads need not reach the disk.
    void close();
    // The file stays when its owner goes.
    void keep() {
        m_kept = true;
        m_cleanup.release();
    }
    // Removes the file now, unless someone has put another file under its name.
    void remove() noexcept;
    [[noreturn]] void fail(int error_number);

private:
    OwnedFd m_fd;
    std::string m_path;
    std::string m_error_path;
    FileIdentity m_identity;
    bool m_kept = false;
    SignalCleanupEntry m_cleanup;
};

// A new version of `target`, written under a fresh name beside the file it
// replaces (links followed, see engine/replace_target.h) and renamed over that
// file only when whole and on the disk: readers of the target see the old
// file or the new one, never a part; a failure leaves the old one as it was.
// Throws as find_replace_target does for a target that cannot be replaced.
class AtomicReplacement {
public:
    AtomicReplacement(const std::string& target, NotOrdinaryTarget not_ordinary);

    TemporaryFile& file() { return m_file; }
    const TemporaryFile& file() const { return m_file; }
    // Syncs, gives the file the owner and permissions of the file it replaces
    // (a new file: those of any new file) and renames it over that file.
    void commit();
    // The same with the permissions `permissions` (0644), for a file every user must read.
    void commit(unsigned permissions);

private:
    void place();

    ReplaceTarget m_place;
    TemporaryFile m_file;
};

// `content` as the new `target`, atomically (see AtomicReplacement), with the
// permissions of the file it replaces. A pipe, socket or device under the
// name is replaced by the new file.
void replace_file_atomically(const std::string& target, std::string_view content);
// The same with the permissions `permissions` (0644), for a file every user must read.
void replace_file_atomically(const std::string& target, std::string_view content,
                             unsigned permissions);

// The folder of `path`: "." for a bare file name.
std::string folder_of(const std::string& path);

// Where temporary files go: $TMPDIR when it is an absolute path, /tmp otherwise.
std::string system_temporary_folder();

} // namespace kvalon
