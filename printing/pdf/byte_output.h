#pragma once

#include <cstddef>

namespace kvalon {

// Where the bytes of a document go: a file, a pipe, a print request. The
// writer counts its own offsets, so an output need not be seekable.
class ByteOutput {
public:
    virtual ~ByteOutput() = default;

    // Takes all `size` bytes or throws KvalonError (FileWrite naming the file,
    // Printer naming the queue). Bytes may be held back until flush().
    virtual void write(const char* data, std::size_t size) = 0;
    // Hands on whatever is held back; throws like write().
    virtual void flush() = 0;
};

} // namespace kvalon
