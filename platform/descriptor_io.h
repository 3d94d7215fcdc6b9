#pragma once

#include "platform/file_facts.h"
#include "platform/owned_fd.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kvalon {

// The caller's standard streams by their numbers.
constexpr int kStandardInput = 0;
constexpr int kStandardOutput = 1;
constexpr int kStandardError = 2;

// `path` opened for reading without waiting, so that a pipe or a device put
// under the name after it was checked cannot hold the program, with the facts
// of what was opened. An ordinary file is then set to read as usual; anything
// else stays open only for its facts. 0, or the errno of the failed open.
int open_for_reading(const std::string& path, OwnedFd& file, FileFacts& facts);

// Up to `count` bytes at the file's offset, retrying after signals and waiting
// while a stream set not to wait is empty: how many (0 at the end), or -errno.
long long read_some(int fd, char* into, std::size_t count);
// Up to `count` bytes at `offset`, the file's offset untouched: what was read.
std::string read_at(int fd, std::int64_t offset, std::size_t count);

// Every byte, retrying after signals and short writes, and waiting while a
// stream set not to wait is full: 0, or the errno (`when_nothing_taken` when
// the system takes no byte and says no reason).
int write_all(int fd, std::string_view bytes, int when_nothing_taken);

// Flushes what was written to `fd` down to the disk: 0 or the errno.
int sync_to_disk(int fd);
// The bytes still free for us on the file system of `fd`; -1 when unknown.
long long free_bytes(int fd);
// True when `folder` has no room left for `bytes` more in a file of ours.
bool lacks_room_for(const std::string& folder, std::int64_t bytes);

// A copy of `fd` above the standard streams, closed when a program is
// started: the copy, or an invalid one.
OwnedFd duplicate(int fd);

// A caller may start us with standard input, output or error closed; a file
// we open would then take that number, and a message or a plan meant for the
// caller would be written into it. A closed stream is opened on /dev/null:
// it reads and writes nothing.
void keep_standard_streams_open();

} // namespace kvalon
