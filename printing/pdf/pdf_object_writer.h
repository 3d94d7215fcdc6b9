#pragma once

#include "printing/pdf/byte_output.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kvalon {

// The file layer of a PDF: numbered objects written one after another as they
// are ready, in any order of their numbers, each offset counted as it goes
// out; the cross-reference table and the trailer at the end. Only the offsets
// are kept, never an object.
class PdfObjectWriter {
public:
    explicit PdfObjectWriter(ByteOutput& out);

    void write_header();
    // A number for an object to be written later (numbers start at 1).
    int reserve();
    // Writes `number 0 obj`, `body`, `endobj`; `body` is the object's syntax.
    void write_object(int number, std::string_view body);
    // Writes a stream object: `dictionary` entries without the brackets and
    // without /Length, which is added from `data`.
    void write_stream(int number, std::string_view dictionary, std::string_view data);
    // Cross-reference table, trailer naming the catalog and the information
    // dictionary, end mark. Throws std::logic_error when a reserved object was
    // never written: its entry would point at nothing.
    void write_end(int catalog, int info, std::string_view id);

    std::uint64_t offset() const { return m_offset; }

private:
    void put(std::string_view bytes);
    void begin_object(int number);

    ByteOutput& m_out;
    std::uint64_t m_offset = 0;
    std::vector<std::uint64_t> m_offsets; // by object number - 1; 0 while unwritten
    std::string m_scratch;
};

} // namespace kvalon
