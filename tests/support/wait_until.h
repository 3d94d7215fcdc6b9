#pragma once

#include <chrono>
#include <thread>

namespace kvalon::testing {

// Polls `done` until it holds or `limit` has passed; true when it held. For
// what another process does in its own time: a file that appears, a job the
// scheduler lists as completed. A test never guesses how long that takes.
template <typename Condition>
bool wait_until(Condition done, std::chrono::milliseconds limit = std::chrono::seconds(60)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

} // namespace kvalon::testing
