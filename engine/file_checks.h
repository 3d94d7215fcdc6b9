#pragma once

#include "engine/source_file.h"

#include <optional>
#include <string>

namespace kvalon {

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
