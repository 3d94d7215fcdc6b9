#include "printing/pdf/pdf_stream_sink.h"

#include <stdexcept>

namespace kvalon {

PdfStreamSink::PdfStreamSink(ByteOutput& out, const FontSource& fonts, int deflate_level)
    : m_out(out), m_fonts(fonts), m_deflate_level(deflate_level) {}

PdfStreamSink::~PdfStreamSink() = default;

template <typename Step> void PdfStreamSink::step(Step&& run) {
    try {
        run();
    } catch (...) {
        m_writer.reset();
        throw;
    }
}

void PdfStreamSink::begin(const DocumentInfo& info) {
    if (m_writer != nullptr) {
        throw std::logic_error("a document is already open");
    }
    m_writer = std::make_unique<PdfDocumentWriter>(m_out, m_fonts, m_deflate_level);
    step([&] { m_writer->begin(info); });
}

void PdfStreamSink::add_page(const PageDescription& page) {
    if (m_writer == nullptr) {
        throw std::logic_error("no document is open");
    }
    step([&] { m_writer->add_page(page); });
}

void PdfStreamSink::finish() {
    if (m_writer == nullptr) {
        throw std::logic_error("no document is open");
    }
    step([&] { m_writer->finish(); });
    m_writer.reset();
}

void PdfStreamSink::abandon() noexcept {
    m_writer.reset();
}

} // namespace kvalon
