#include "platform/cleanup_slots.h"

#include <array>
#include <cstring>

namespace kvalon {

namespace cleanup_slots {

namespace {

std::array<Slot, kSlots> g_slots;
std::atomic<int> g_deferrals{0};
std::atomic<int> g_deferred_signal{0};

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

void clean_slots_holding(int kind, void (*clean)(const Slot&)) {
    for (const Slot& slot : g_slots) {
        if (slot.state.load() == kind) {
            clean(slot);
        }
    }
}

int deferrals_held() {
    return g_deferrals.load();
}

void defer_signal(int signal_number) {
    g_deferred_signal.store(signal_number);
}

} // namespace cleanup_slots

using namespace cleanup_slots;

SignalDeferral::SignalDeferral() {
    g_deferrals.fetch_add(1);
}

SignalDeferral::~SignalDeferral() {
    // A signal kept for work that then ended on its own is acted on now.
    if (g_deferrals.fetch_sub(1) == 1) {
        if (const int signal_number = g_deferred_signal.exchange(0); signal_number != 0) {
            end_by_signal(signal_number);
        }
    }
}

int deferred_signal() {
    return g_deferred_signal.load();
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
