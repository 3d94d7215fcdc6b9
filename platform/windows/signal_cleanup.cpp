#include "platform/signal_cleanup.h"

#include "file_identity.h"
#include "platform/cleanup_slots.h"
#include "wide_text.h"

#include <atomic>
#include <filesystem>
#include <windows.h>

namespace kvalon {

using namespace cleanup_slots;

namespace {

// The ending signals as the rest of the program counts them: a console's
// Ctrl-C or Ctrl-Break is the interrupt, a closed console window the hang-up,
// a logoff or shutdown the termination.
constexpr int kHangUp = 1;
constexpr int kInterrupt = 2;
constexpr int kTerminate = 15;
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
    if (deferrals_held() > 0) {
        defer_signal(signal_number);
        return TRUE;
    }
    end_by_signal(signal_number);
}

} // namespace

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

} // namespace kvalon
