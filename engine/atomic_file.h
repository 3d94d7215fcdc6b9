#pragma once

#include "engine/owned_fd.h"
#include "engine/signal_cleanup.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace kvalon {

// A file of our own under a fresh name in a folder: created exclusively, so
// never an existing file and never through a link someone planted there; only
// we can read it until it is placed; removed when its owner goes unless kept,
// and when an ending signal stops the program (engine/signal_cleanup.h).
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
    dev_t m_device = 0;
    ino_t m_inode = 0;
    bool m_kept = false;
    SignalCleanupEntry m_cleanup;
};

// A new version of `target`, written under a fresh name beside it and renamed
// over it only when whole and on the disk: readers of the target see the old
// file or the new one, never a part; a failure leaves the old one as it was.
class AtomicReplacement {
public:
    explicit AtomicReplacement(const std::string& target);

    TemporaryFile& file() { return m_file; }
    // Syncs, gives the file `mode` and renames it over the target.
    void commit(mode_t mode);

private:
    std::string m_target;
    TemporaryFile m_file;
};

// `content` as the new `target`, atomically (see AtomicReplacement).
void replace_file_atomically(const std::string& target, std::string_view content, mode_t mode);

// The folder of `path`: "." for a bare file name.
std::string folder_of(const std::string& path);

// Where temporary files go: $TMPDIR when it is an absolute path, /tmp otherwise.
std::string system_temporary_folder();

} // namespace kvalon
