#pragma once

#include "platform/file_facts.h"

#include <cstddef>
#include <memory>
#include <string>

namespace kvalon {

// The bytes a SourceFile reads, from wherever they are kept.
class SourceInput {
public:
    virtual ~SourceInput() = default;
    // 0 and what the input is now (its type, identity and size), or the errno.
    virtual int facts(FileFacts& facts) = 0;
    // Up to `count` bytes from where the last read ended: how many (0 at the
    // end), or -errno.
    virtual long long read(char* into, std::size_t count) = 0;
};

// Opens inputs by their names for SourceFile.
class SourceInputs {
public:
    virtual ~SourceInputs() = default;
    // The input `path` names, or nothing with `error` the errno. Anything but
    // an ordinary file may be given back too: its facts tell what it is.
    virtual std::unique_ptr<SourceInput> open(const std::string& path, int& error) = 0;
};

// The first bytes of the ordinary file `path` names among `inputs`, at most
// `most` of them; none when it cannot be read or is no ordinary file (reading
// it as a report then tells why).
std::string read_head(SourceInputs& inputs, const std::string& path, std::size_t most);

// The system's files, each opened without waiting (platform/descriptor_io.h).
SourceInputs& files_on_disk();

// One report held in memory, given under whatever name is opened, as an
// ordinary file that never changes: for fuzzers and tests that must not touch
// the disk.
class BytesInputs final : public SourceInputs {
public:
    explicit BytesInputs(std::string bytes) : m_bytes(std::move(bytes)) {}
    std::unique_ptr<SourceInput> open(const std::string& path, int& error) override;

private:
    std::string m_bytes;
};

} // namespace kvalon
