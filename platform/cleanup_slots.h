#pragma once

#include "platform/signal_cleanup.h"

#include <atomic>
#include <cstddef>

namespace kvalon::cleanup_slots {

// The table the ending-signal handler reads, the same on every system: each
// system's handler decides only how a file, a folder or a helper goes.

inline constexpr std::size_t kSlots = 32;
inline constexpr std::size_t kLongestPath = 4096;

enum SlotState : int { Free = 0, Claimed, File, Folder, ProcessGroup };

// A slot is claimed, filled, and only then marked with what it holds; the
// handler reads only marked slots, so it never sees half a path.
struct Slot {
    std::atomic<int> state{Free};
    char path[kLongestPath];
    FileDevice device;
    FileNumber inode;
    ProcessId leader;
};

static_assert(std::atomic<int>::is_always_lock_free, "the handler reads the table without a lock");

// Calls `clean` for every slot marked `kind`; no memory, no lock.
void clean_slots_holding(int kind, void (*clean)(const Slot&));

// How many SignalDeferral are held now.
int deferrals_held();
// Keeps `signal_number` for the end of the last deferral.
void defer_signal(int signal_number);

} // namespace kvalon::cleanup_slots
