#include "printing/cups/cups_request_output.h"

#include "engine/error.h"
#include "engine/messages.h"
#include "printing/cups/cups_connection.h"

#include <cups/cups.h>

namespace kvalon {

CupsRequestOutput::CupsRequestOutput(CupsConnection& connection, std::string queue)
    : m_connection(connection), m_queue(std::move(queue)) {}

void CupsRequestOutput::write_through(const char* data, std::size_t size) {
    m_connection.restart_clock();
    if (cupsWriteRequestData(m_connection.get(), data, size) != HTTP_STATUS_CONTINUE) {
        throw KvalonError(ErrorKind::Printer, m_queue,
                          m_connection.answered() ? service_reason(cupsLastError())
                                                  : messages::kServiceSilent);
    }
}

} // namespace kvalon
