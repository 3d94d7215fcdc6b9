#include "printing/pdf/fd_byte_output.h"

#include "platform/descriptor_io.h"

#include <cerrno>

namespace kvalon {

FdByteOutput::FdByteOutput(int descriptor, std::string name, ErrorKind kind)
    : m_descriptor(descriptor), m_name(std::move(name)), m_kind(kind) {}

// A pipe or a full disk may take part of a write; the rest is written again
// until all is taken or the system gives a reason.
void FdByteOutput::write_through(const char* data, std::size_t size) {
    if (const int error = write_all(m_descriptor, std::string_view(data, size), EIO); error != 0) {
        throw KvalonError(m_kind, m_name, system_reason(error));
    }
}

} // namespace kvalon
