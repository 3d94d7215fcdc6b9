#include "printing/pdf/pdf_object_writer.h"

#include "printing/pdf/pdf_syntax.h"

#include <stdexcept>

namespace kvalon {

namespace {

// Binary bytes in the second line tell transfer programs the file is binary.
constexpr std::string_view kHeader = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
constexpr int kOffsetDigits = 10;
// The table goes out in pieces of about this size, however many objects.
constexpr std::size_t kTablePiece = 64 * 1024;

} // namespace

PdfObjectWriter::PdfObjectWriter(ByteOutput& out) : m_out(out) {}

void PdfObjectWriter::put(std::string_view bytes) {
    m_out.write(bytes.data(), bytes.size());
    m_offset += bytes.size();
}

void PdfObjectWriter::write_header() {
    put(kHeader);
}

int PdfObjectWriter::reserve() {
    m_offsets.push_back(0);
    return static_cast<int>(m_offsets.size());
}

void PdfObjectWriter::begin_object(int number) {
    m_offsets.at(static_cast<std::size_t>(number - 1)) = m_offset;
    m_scratch.clear();
    append_integer(m_scratch, static_cast<std::uint64_t>(number));
    m_scratch += " 0 obj\n";
    put(m_scratch);
}

void PdfObjectWriter::write_object(int number, std::string_view body) {
    begin_object(number);
    put(body);
    put("\nendobj\n");
}

void PdfObjectWriter::write_stream(int number, std::string_view dictionary, std::string_view data) {
    begin_object(number);
    m_scratch.assign("<<");
    m_scratch += dictionary;
    m_scratch += "/Length ";
    append_integer(m_scratch, data.size());
    m_scratch += ">>\nstream\n";
    put(m_scratch);
    put(data);
    put("\nendstream\nendobj\n");
}

void PdfObjectWriter::write_end(int catalog, int info, std::string_view id) {
    const std::uint64_t xref_at = m_offset;
    std::string table = "xref\n0 ";
    append_integer(table, m_offsets.size() + 1);
    table += "\n0000000000 65535 f \n";
    for (const std::uint64_t at : m_offsets) {
        if (at == 0) {
            throw std::logic_error("an object was reserved and never written");
        }
        std::string digits;
        append_integer(digits, at);
        table.append(static_cast<std::size_t>(kOffsetDigits) - digits.size(), '0');
        table += digits;
        table += " 00000 n \n";
        if (table.size() >= kTablePiece) {
            put(table);
            table.clear();
        }
    }
    table += "trailer\n<</Size ";
    append_integer(table, m_offsets.size() + 1);
    table += "/Root ";
    append_integer(table, static_cast<std::uint64_t>(catalog));
    table += " 0 R/Info ";
    append_integer(table, static_cast<std::uint64_t>(info));
    table += " 0 R/ID[<";
    table += id;
    table += "><";
    table += id;
    table += ">]>>\nstartxref\n";
    append_integer(table, xref_at);
    table += "\n%%EOF\n";
    put(table);
}

} // namespace kvalon
