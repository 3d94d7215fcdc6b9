#pragma once

#include "printing/pdf/byte_output.h"

#include <string>

namespace kvalon {

// A byte output that gathers small writes into large pieces before it hands
// them on, so that a page costs one or two system calls or print requests.
// A derived output says only how one piece is handed on.
class BufferedByteOutput : public ByteOutput {
public:
    void write(const char* data, std::size_t size) final;
    // After a failure the held bytes are dropped, never handed on twice.
    void flush() final;

protected:
    BufferedByteOutput();

    // Hands on all `size` bytes (never 0) at once or throws KvalonError.
    virtual void write_through(const char* data, std::size_t size) = 0;

private:
    std::string m_buffer;
};

} // namespace kvalon
