#include "printing/pdf/buffered_byte_output.h"

namespace kvalon {

namespace {

// A page or two a piece: few system calls or requests, little held back.
constexpr std::size_t kPieceBytes = 256 * 1024;

} // namespace

BufferedByteOutput::BufferedByteOutput() {
    m_buffer.reserve(kPieceBytes);
}

void BufferedByteOutput::write(const char* data, std::size_t size) {
    if (m_buffer.size() + size > kPieceBytes) {
        flush();
    }
    if (size >= kPieceBytes) {
        write_through(data, size);
        return;
    }
    m_buffer.append(data, size);
}

void BufferedByteOutput::flush() {
    if (m_buffer.empty()) {
        return;
    }
    try {
        write_through(m_buffer.data(), m_buffer.size());
    } catch (...) {
        m_buffer.clear();
        throw;
    }
    m_buffer.clear();
}

} // namespace kvalon
