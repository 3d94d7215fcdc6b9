#include "platform/signal_cleanup.h"

#include "file_identity.h"
#include "wide_text.h"

#include <array>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <windows.h>

namespace kvalon {

namespace {

// The ending signals as the rest of the program counts them: a console's
// Ctrl-C or Ctrl-Break is the interrupt, a closed console window the hang-up,
// a logoff or shutdown the termination.
constexpr int kHangUp = 1;
constexpr int kInterrupt = 2;
constexpr int kTerminate = 15;
constexpr std::size_t kSlots = 32;
constexpr std::size_t kLongestPath = 4096;

enum SlotState : int { Free = 0, Claimed, File, Folder, ProcessGroup };

// A slot is claimed, filled, and only then marked with what it holds; the
// handler's thread reads only marked slots, so it never sees half a path.
struct Slot {
    std::atomic<int> state{Free};
    char path[kLongestPath];
    FileDevice device;
    FileNumber inode;
    ProcessId leader;
};

std::array<Slot, kSlots> g_slots;
std::atomic<int> g_deferrals{0};
std::atomic<int> g_deferred_signal{0};
std::atomic<bool> g_installed{false};

bool still_the_same(const Slot& slot) {
    FileDevice device = 0;
    FileNumber number = 0;
    return file_identity(slot.path, device, number) && device == slot.device &&
           number == slot.inode;
}

void remove_file(const Slot& slot) {
    if (still_the_same(slot)) {
        ::DeleteFileW(wide_text(slot.path).c_str());
    }
}

void remove_folder(const Slot& slot) {
    if (still_the_same(slot)) {
        std::error_code ignored;
        std::filesystem::remove_all(std::filesystem::path(wide_text(slot.path)), ignored);
    }
}

void end_process(const Slot& slot) {
    const HANDLE process =
        ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, static_cast<DWORD>(slot.leader));
    if (process != nullptr) {
        ::TerminateProcess(process, 1);
        ::WaitForSingleObject(process, INFINITE);
        ::CloseHandle(process);
    }
}

void clean_slots_holding(int kind, void (*clean)(const Slot&)) {
    for (const Slot& slot : g_slots) {
        if (slot.state.load() == kind) {
            clean(slot);
        }
    }
}

void remove_all() {
    clean_slots_holding(ProcessGroup, end_process);
    clean_slots_holding(Folder, remove_folder);
    clean_slots_holding(File, remove_file);
}

int signal_of(DWORD event) {
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
        return kInterrupt;
    case CTRL_CLOSE_EVENT:
        return kHangUp;
    default:
        return kTerminate;
    }
}

// The system calls this on a thread of its own; returning TRUE keeps the
// program running, which a deferral wants until its work can stop.
BOOL WINAPI remove_and_end(DWORD event) {
    const int signal_number = signal_of(event);
    if (g_deferrals.load() > 0) {
        g_deferred_signal.store(signal_number);
        return TRUE;
    }
    end_by_signal(signal_number);
}

int claim_slot(const std::string& path) {
    if (path.size() >= kLongestPath) {
        return -1;
    }
    for (std::size_t i = 0; i < g_slots.size(); ++i) {
        int expected = Free;
        if (g_slots[i].state.compare_exchange_strong(expected, Claimed)) {
            std::memcpy(g_slots[i].path, path.c_str(), path.size() + 1);
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace

SignalDeferral::SignalDeferral() {
    g_deferrals.fetch_add(1);
}

SignalDeferral::~SignalDeferral() {
    if (g_deferrals.fetch_sub(1) == 1) {
        if (const int signal_number = g_deferred_signal.exchange(0); signal_number != 0) {
            end_by_signal(signal_number);
        }
    }
}

int deferred_signal() {
    return g_deferred_signal.load();
}

// The exit status a POSIX shell gives a program ended by the signal, so that
// callers read one status table on both systems.
void end_by_signal(int signal_number) {
    remove_all();
    ::ExitProcess(static_cast<UINT>(128 + signal_number));
}

void install_signal_cleanup() {
    if (!g_installed.exchange(true)) {
        ::SetConsoleCtrlHandler(remove_and_end, TRUE);
    }
}

// The windows program is not built for Windows: ending events act at once.
EndingSignalHandOver::EndingSignalHandOver() {
    install_signal_cleanup();
}

EndingSignalHandOver::~EndingSignalHandOver() = default;

int EndingSignalHandOver::taken_signal() {
    return 0;
}

SignalCleanupEntry SignalCleanupEntry::for_file(const std::string& path, FileDevice device,
                                                FileNumber inode) {
    return for_path(path, device, inode, File);
}

SignalCleanupEntry SignalCleanupEntry::for_folder(const std::string& path, FileDevice device,
                                                  FileNumber inode) {
    return for_path(path, device, inode, Folder);
}

SignalCleanupEntry SignalCleanupEntry::for_path(const std::string& path, FileDevice device,
                                                FileNumber inode, int kind) {
    const int slot = claim_slot(path);
    if (slot >= 0) {
        Slot& entry = g_slots[static_cast<std::size_t>(slot)];
        entry.device = device;
        entry.inode = inode;
        entry.state.store(kind);
    }
    return SignalCleanupEntry(slot);
}

SignalCleanupEntry SignalCleanupEntry::for_process_group(ProcessId leader) {
    const int slot = claim_slot({});
    if (slot >= 0) {
        g_slots[static_cast<std::size_t>(slot)].leader = leader;
        g_slots[static_cast<std::size_t>(slot)].state.store(ProcessGroup);
    }
    return SignalCleanupEntry(slot);
}

SignalCleanupEntry::SignalCleanupEntry(SignalCleanupEntry&& other) noexcept : m_slot(other.m_slot) {
    other.m_slot = -1;
}

SignalCleanupEntry& SignalCleanupEntry::operator=(SignalCleanupEntry&& other) noexcept {
    if (this != &other) {
        release();
        m_slot = other.m_slot;
        other.m_slot = -1;
    }
    return *this;
}

void SignalCleanupEntry::release() noexcept {
    if (m_slot >= 0) {
        g_slots[static_cast<std::size_t>(m_slot)].state.store(Free);
        m_slot = -1;
    }
}

} // namespace kvalon
