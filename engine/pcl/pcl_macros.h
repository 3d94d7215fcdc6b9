#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

namespace kvalon {

// A macro's bytes as the job defined them, kept until deleted; a temporary
// one goes with the next reset.
struct PclMacro {
    std::shared_ptr<const std::string> body;
    bool permanent = false;
    bool operator==(const PclMacro& other) const {
        return permanent == other.permanent &&
               (body == other.body || (body && other.body && *body == *other.body));
    }
};

// The job's macros: those stored, the one being defined, the overlay, and
// how much more running them may cost. Bounds keep a job from filling
// memory or running for ever: a macro keeps at most kMostBytes, the job at
// most kMostStored; macros run at most kMostNesting deep, and the bytes they
// run are paid from a budget that starts at kStartBudget and grows by
// kBudgetPerByte for each byte of the job itself.
struct PclMacros {
    static constexpr std::size_t kMostBytes = std::size_t{256} << 10;
    static constexpr std::size_t kMostStored = std::size_t{2} << 20;
    static constexpr int kMostNesting = 3;
    static constexpr std::uint64_t kStartBudget = std::uint64_t{1} << 20;
    static constexpr std::uint64_t kBudgetPerByte = 64;
    static constexpr int kMostId = 32767;

    std::map<int, PclMacro> stored;
    int id = 0; // ESC &f#Y: the macro the next command is about
    bool defining = false;
    int defining_id = 0;
    std::string body;               // the definition so far
    std::size_t sequence_start = 0; // where its last escape sequence began
    bool overlay = false;
    int overlay_id = 0;
    int depth = 0;            // macros running, one inside the other
    bool eject_after = false; // a page ended inside a macro: ejected after it
    bool overlay_running = false;
    std::uint64_t budget = kStartBudget;
    bool operator==(const PclMacros&) const = default;

    std::size_t stored_bytes() const {
        std::size_t total = 0;
        for (const auto& entry : stored) {
            total += entry.second.body->size();
        }
        return total;
    }
    // A reset: temporary macros are deleted, the overlay is off.
    void reset() {
        std::erase_if(stored, [](const auto& entry) { return !entry.second.permanent; });
        overlay = false;
        defining = false;
        body.clear();
    }
};

} // namespace kvalon
