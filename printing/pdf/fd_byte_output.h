#pragma once

#include "engine/error.h"
#include "printing/pdf/buffered_byte_output.h"

#include <string>

namespace kvalon {

// Bytes into an open file descriptor (a file, a pipe, a device), gathered into
// large writes. The descriptor stays the caller's: it is neither synced nor
// closed here.
class FdByteOutput final : public BufferedByteOutput {
public:
    // `name` is what a failure names: the file's path or the queue's name;
    // `kind` is FileWrite for files, Printer for a print request.
    FdByteOutput(int descriptor, std::string name, ErrorKind kind = ErrorKind::FileWrite);

private:
    void write_through(const char* data, std::size_t size) override;

    int m_descriptor;
    std::string m_name;
    ErrorKind m_kind;
};

} // namespace kvalon
