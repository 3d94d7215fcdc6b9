#pragma once

#include <string>
#include <sys/types.h>

namespace kvalon {

// The job's temporary files are removed when SIGHUP, SIGINT or SIGTERM ends
// the program, so a job stopped half way leaves nothing behind: no partial PDF
// beside the target, no copy of standard input, no helper program (gs) still
// at work in a process group of its own, no folder of its files.
// One handler serves every file; it reads a fixed table, so it needs no
// memory and no lock. After the removal the signal ends the program as it
// would have without us (the caller sees the signal in the exit status).

// Puts the handler in for the three signals; call once, at start-up. A signal
// the caller ignores (a shell's background job ignores SIGINT) stays ignored.
void install_signal_cleanup();

// While one of these is held, an ending signal is kept instead of acted on:
// work that must not be cut off half way (a print job half sent to the print
// service, which would wait for the rest) asks for it where it can stop
// cleanly, and then ends the program by it.
class SignalDeferral {
public:
    SignalDeferral();
    ~SignalDeferral();
    SignalDeferral(const SignalDeferral&) = delete;
    SignalDeferral& operator=(const SignalDeferral&) = delete;
};

// The ending signal kept while deferred, or 0.
int deferred_signal();

// Removes the job's temporary files and ends the program by `signal_number`,
// as the handler does.
[[noreturn]] void end_by_signal(int signal_number);

// The windows cannot be stopped where a signal strikes: pages the user printed
// may still wait for their file. While one of these is held, the first ending
// signal (a logout's SIGHUP or SIGTERM) is handed to the program instead: the
// descriptor becomes readable, the program writes what must not be lost and
// ends by the signal itself (end_by_signal). A second ending signal acts at
// once, as without it. Puts the handler in if it is not yet. One at a time.
class EndingSignalHandOver {
public:
    EndingSignalHandOver();
    // Ending signals act at once again.
    ~EndingSignalHandOver();
    EndingSignalHandOver(const EndingSignalHandOver&) = delete;
    EndingSignalHandOver& operator=(const EndingSignalHandOver&) = delete;

    // Readable once a signal was handed over; -1 when no pipe could be made
    // (signals then act at once).
    int fd() const { return m_read_end; }
    // The signal handed over, or 0; empties the descriptor. A signal stays
    // handed over: the next one acts at once.
    int taken_signal();

private:
    int m_read_end = -1;
    int m_write_end = -1;
};

// One entry of the table, held while the file exists. A file is removed only
// while its name still stands for the same device and inode, so a name
// someone else has taken over in a shared folder is left alone. When the
// table is full or the path too long, the entry holds nothing: the file is
// still removed on every ordinary path.
class SignalCleanupEntry {
public:
    SignalCleanupEntry() = default;
    static SignalCleanupEntry for_file(const std::string& path, dev_t device, ino_t inode);
    // A folder of a helper's files, none of them a folder: they and it go
    // after every helper process has ended.
    static SignalCleanupEntry for_folder(const std::string& path, dev_t device, ino_t inode);
    // A helper process leading a process group of its own: the group is
    // killed (SIGKILL) and the leader waited for before any file is removed.
    static SignalCleanupEntry for_process_group(pid_t leader);
    ~SignalCleanupEntry() { release(); }
    SignalCleanupEntry(SignalCleanupEntry&& other) noexcept;
    SignalCleanupEntry& operator=(SignalCleanupEntry&& other) noexcept;
    SignalCleanupEntry(const SignalCleanupEntry&) = delete;
    SignalCleanupEntry& operator=(const SignalCleanupEntry&) = delete;

    // The handler no longer touches the path (it was removed or put in place).
    void release() noexcept;

private:
    explicit SignalCleanupEntry(int slot) : m_slot(slot) {}
    static SignalCleanupEntry for_path(const std::string& path, dev_t device, ino_t inode,
                                       int kind);
    int m_slot = -1;
};

} // namespace kvalon
