#include "printing/cups/cups_request_output.h"

#include "engine/error.h"
#include "printing/cups/cups_connection.h"

#include <cups/cups.h>

namespace kvalon {

namespace {
// A page or two a piece: few requests, little held back.
constexpr std::size_t kPieceBytes = 256 * 1024;
} // namespace

CupsRequestOutput::CupsRequestOutput(CupsConnection& connection, std::string queue)
    : m_connection(connection), m_queue(std::move(queue)) {
    m_buffer.reserve(kPieceBytes);
}

void CupsRequestOutput::write(const char* data, std::size_t size) {
    if (m_buffer.size() + size > kPieceBytes) {
        flush();
    }
    if (size >= kPieceBytes) {
        send(data, size);
        return;
    }
    m_buffer.append(data, size);
}

void CupsRequestOutput::flush() {
    const std::string piece = std::move(m_buffer);
    m_buffer.clear();
    send(piece.data(), piece.size());
}

void CupsRequestOutput::send(const char* data, std::size_t size) {
    if (size == 0) {
        return;
    }
    m_connection.restart_clock();
    if (cupsWriteRequestData(m_connection.get(), data, size) != HTTP_STATUS_CONTINUE) {
        throw KvalonError(ErrorKind::Printer, m_queue, service_reason(cupsLastError()));
    }
}

} // namespace kvalon
