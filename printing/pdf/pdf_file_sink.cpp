#include "printing/pdf/pdf_file_sink.h"

#include "printing/pdf/fd_byte_output.h"
#include "printing/pdf/pdf_stream_sink.h"
#include "printing/pdf_target_file.h"

namespace kvalon {

PdfFileSink::PdfFileSink(std::string target, std::shared_ptr<const FontSource> fonts)
    : m_target(std::move(target)), m_fonts(std::move(fonts)) {}

PdfFileSink::~PdfFileSink() {
    abandon();
}

void PdfFileSink::begin(const DocumentInfo& info) {
    abandon();
    m_file = std::make_unique<PdfTargetFile>(m_target);
    m_output = std::make_unique<FdByteOutput>(m_file->fd(), m_target);
    m_document = std::make_unique<PdfStreamSink>(*m_output, *m_fonts);
    try {
        m_document->begin(info);
    } catch (...) {
        abandon();
        throw;
    }
}

void PdfFileSink::add_page(const PageDescription& page) {
    try {
        m_document->add_page(page);
    } catch (...) {
        abandon();
        throw;
    }
}

void PdfFileSink::finish() {
    try {
        m_document->finish();
        m_file->commit();
    } catch (...) {
        abandon();
        throw;
    }
    m_document.reset();
    m_output.reset();
    m_file.reset();
}

// The fresh file goes with its owner; the target stays as it was.
void PdfFileSink::abandon() noexcept {
    m_document.reset();
    m_output.reset();
    m_file.reset();
}

bool PdfFileSink::is_open() const {
    return m_document != nullptr;
}

} // namespace kvalon
