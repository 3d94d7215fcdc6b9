#pragma once

#include "printing/pdf/byte_output.h"

#include <string>

namespace kvalon {

class CupsConnection;

// The bytes of a document sent into a print request that was started with
// cupsStartDocument, gathered into large pieces. Failures are
// KvalonError(Printer) naming the queue, with the print service's reason.
class CupsRequestOutput final : public ByteOutput {
public:
    CupsRequestOutput(CupsConnection& connection, std::string queue);

    void write(const char* data, std::size_t size) override;
    void flush() override;

private:
    void send(const char* data, std::size_t size);

    CupsConnection& m_connection;
    std::string m_queue;
    std::string m_buffer;
};

} // namespace kvalon
