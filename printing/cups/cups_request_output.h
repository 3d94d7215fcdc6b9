#pragma once

#include "printing/pdf/buffered_byte_output.h"

#include <string>

namespace kvalon {

class CupsConnection;

// The bytes of a document sent into a print request that was started with
// cupsStartDocument, gathered into large pieces. Failures are
// KvalonError(Printer) naming the queue, with the print service's reason.
class CupsRequestOutput final : public BufferedByteOutput {
public:
    CupsRequestOutput(CupsConnection& connection, std::string queue);

private:
    void write_through(const char* data, std::size_t size) override;

    CupsConnection& m_connection;
    std::string m_queue;
};

} // namespace kvalon
