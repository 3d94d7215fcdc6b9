#pragma once

#include <optional>
#include <string>

namespace kvalon {

// The device address of a print-server queue names the queue it prints on:
// "kvalon:/Office". The scheme is also the name of the backend program CUPS
// runs for the queue's jobs.
inline constexpr const char* kBackendScheme = "kvalon";

// "kvalon:/" followed by `destination`, bytes outside letters, digits and
// "-._~" percent-encoded.
std::string queue_device_uri(const std::string& destination);

// The destination a device address names ("kvalon:/Office", "kvalon://Office",
// options after "?" ignored), or nothing when the address is not ours or names
// no queue.
std::optional<std::string> destination_of(const std::string& device_uri);

} // namespace kvalon
