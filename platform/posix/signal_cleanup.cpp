#include "platform/signal_cleanup.h"

#include "platform/cleanup_slots.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

static_assert(sizeof(kvalon::ProcessId) == sizeof(pid_t));
static_assert(sizeof(kvalon::FileDevice) >= sizeof(dev_t) &&
              sizeof(kvalon::FileNumber) >= sizeof(ino_t));

namespace kvalon {

using namespace cleanup_slots;

namespace {

constexpr std::array<int, 3> kEndingSignals = {SIGHUP, SIGINT, SIGTERM};
// The pipe's write end while the windows take the first ending signal
// themselves, else -1; the signal handed over, once it was.
std::atomic<int> g_hand_over_fd{-1};
std::atomic<int> g_handed_over_signal{0};

void remove_file(const Slot& slot) {
    struct stat info {};
    if (::lstat(slot.path, &info) == 0 && info.st_dev == slot.device && info.st_ino == slot.inode) {
        ::unlink(slot.path);
    }
}

// A helper's folder holds only the helper's own files, no folders: they go
// first, then the folder. Only calls a signal handler may make.
void remove_folder(const Slot& slot) {
    const int folder = ::open(slot.path, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat info {};
    if (folder < 0) {
        return;
    }
    if (::fstat(folder, &info) != 0 || info.st_dev != slot.device || info.st_ino != slot.inode) {
        ::close(folder);
        return;
    }
    alignas(8) char entries[4096];
    for (ssize_t got = 0; (got = ::getdents64(folder, entries, sizeof entries)) > 0;) {
        for (ssize_t at = 0; at < got;) {
            const auto* entry = reinterpret_cast<const dirent64*>(entries + at);
            if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
                ::unlinkat(folder, entry->d_name, 0);
            }
            at += entry->d_reclen;
        }
    }
    ::close(folder);
    ::rmdir(slot.path);
}

// A helper ends before its folder goes, so it writes no file after that.
void end_process_group(const Slot& slot) {
    ::kill(-slot.leader, SIGKILL);
    while (::waitpid(slot.leader, nullptr, 0) < 0 && errno == EINTR) {
    }
}

void remove_all_and_end(int signal_number) {
    clean_slots_holding(ProcessGroup, end_process_group);
    clean_slots_holding(Folder, remove_folder);
    clean_slots_holding(File, remove_file);
    struct sigaction default_action {};
    default_action.sa_handler = SIG_DFL;
    ::sigaction(signal_number, &default_action, nullptr);
    // Blocked until the handler returns; then the default action ends the
    // program with the status the caller expects of this signal.
    ::raise(signal_number);
}

// The write end is non-blocking: the handler never waits on the windows.
bool handed_over(int signal_number) {
    const int fd = g_hand_over_fd.load();
    int none = 0;
    if (fd < 0 || !g_handed_over_signal.compare_exchange_strong(none, signal_number)) {
        return false;
    }
    const char byte = 1;
    const int saved_errno = errno;
    [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
    errno = saved_errno;
    return true;
}

extern "C" void remove_and_end(int signal_number) {
    if (handed_over(signal_number)) {
        return;
    }
    if (deferrals_held() > 0) {
        defer_signal(signal_number);
        return;
    }
    remove_all_and_end(signal_number);
}

} // namespace

void end_by_signal(int signal_number) {
    sigset_t ending;
    sigemptyset(&ending);
    for (const int ending_signal : kEndingSignals) {
        sigaddset(&ending, ending_signal);
    }
    ::sigprocmask(SIG_BLOCK, &ending, nullptr);
    remove_all_and_end(signal_number);
    ::sigprocmask(SIG_UNBLOCK, &ending, nullptr);
    ::_exit(128 + signal_number);
}

void install_signal_cleanup() {
    struct sigaction removal {};
    removal.sa_handler = remove_and_end;
    sigemptyset(&removal.sa_mask);
    // A second signal during the removal waits for the first one's end.
    for (const int signal_number : kEndingSignals) {
        sigaddset(&removal.sa_mask, signal_number);
    }
    for (const int signal_number : kEndingSignals) {
        struct sigaction current {};
        ::sigaction(signal_number, nullptr, &current);
        if (current.sa_handler != SIG_IGN) {
            ::sigaction(signal_number, &removal, nullptr);
        }
    }
}

EndingSignalHandOver::EndingSignalHandOver() {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    m_read_end = ends[0];
    m_write_end = ends[1];
    install_signal_cleanup();
    g_handed_over_signal.store(0);
    g_hand_over_fd.store(m_write_end);
}

EndingSignalHandOver::~EndingSignalHandOver() {
    g_hand_over_fd.store(-1);
    g_handed_over_signal.store(0);
    if (m_read_end >= 0) {
        ::close(m_read_end);
        ::close(m_write_end);
    }
}

int EndingSignalHandOver::taken_signal() {
    char bytes[16];
    while (m_read_end >= 0 && ::read(m_read_end, bytes, sizeof bytes) > 0) {
    }
    return g_handed_over_signal.load();
}

} // namespace kvalon
