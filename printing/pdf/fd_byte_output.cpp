#include "printing/pdf/fd_byte_output.h"

#include <cerrno>
#include <unistd.h>

namespace kvalon {

FdByteOutput::FdByteOutput(int descriptor, std::string name, ErrorKind kind)
    : m_descriptor(descriptor), m_name(std::move(name)), m_kind(kind) {}

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
