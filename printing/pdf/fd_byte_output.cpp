#include "printing/pdf/fd_byte_output.h"

#include <cerrno>
#include <unistd.h>

namespace kvalon {

namespace {

// Large enough that a page costs one or two system calls.
constexpr std::size_t kBufferBytes = 256 * 1024;

} // namespace

FdByteOutput::FdByteOutput(int descriptor, std::string name, ErrorKind kind)
    : m_descriptor(descriptor), m_name(std::move(name)), m_kind(kind) {
    m_buffer.reserve(kBufferBytes);
}

void FdByteOutput::write(const char* data, std::size_t size) {
    if (m_buffer.size() + size > kBufferBytes) {
        flush();
    }
    if (size >= kBufferBytes) {
        write_through(data, size);
        return;
    }
    m_buffer.append(data, size);
}

void FdByteOutput::flush() {
    // After a failure the held bytes are dropped, never written twice.
    try {
        write_through(m_buffer.data(), m_buffer.size());
    } catch (...) {
        m_buffer.clear();
        throw;
    }
    m_buffer.clear();
}

// A pipe or a full disk may take part of a write; the rest is written again
// until all is taken or the system gives a reason.
void FdByteOutput::write_through(const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(m_descriptor, data, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            throw KvalonError(m_kind, m_name, system_reason(written < 0 ? errno : EIO));
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
}

} // namespace kvalon
