#pragma once

#include "engine/source_file.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kvalon {

// A file's modification time in nanoseconds from the system's facts about
// it: to the nanosecond where they keep it (st_mtim), else to the second.
template <typename FileFacts> std::int64_t modified_ns(const FileFacts& info) {
    if constexpr (requires { info.st_mtim.tv_nsec; }) {
        return static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 +
               info.st_mtim.tv_nsec;
    } else {
        return static_cast<std::int64_t>(info.st_mtime) * 1'000'000'000;
    }
}

// True when `path` names an existing ordinary file (links followed).
bool is_regular_file(const std::string& path);

// What `path` names (links followed): nothing, an ordinary file, a folder, or
// anything else (a pipe, a device, a socket).
enum class PathKind { Missing, Regular, Folder, Other };
PathKind path_kind(const std::string& path);

// The ordinary file `path` names now (links followed), as SourceFile tells
// the file it opened; nothing when there is no ordinary file there.
std::optional<FileIdentity> file_identity(const std::string& path);

// Throws KvalonError(InputTooLarge) naming `path` when `size` bytes are more
// than any report or document may have (engine/line_limit.h).
void refuse_larger_than_a_report(const std::string& path, std::int64_t size);

} // namespace kvalon
