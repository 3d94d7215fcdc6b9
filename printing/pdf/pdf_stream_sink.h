#pragma once

#include "printing/document_sink.h"
#include "printing/pdf/byte_output.h"
#include "printing/pdf/font_source.h"
#include "printing/pdf/pdf_document_writer.h"

#include <memory>

namespace kvalon {

// A document sink that writes a PDF into a byte output as the pages come.
// It owns the document, not the destination: placing a finished file, or
// dropping what an abandoned one left in the output, is up to whoever owns
// the output.
class PdfStreamSink final : public DocumentSink {
public:
    // `out` and `fonts` must outlive the sink.
    PdfStreamSink(ByteOutput& out, const FontSource& fonts,
                  int deflate_level = PdfDocumentWriter::kDefaultDeflateLevel);
    ~PdfStreamSink() override;

    void begin(const DocumentInfo& info) override;
    void add_page(const PageDescription& page) override;
    void finish() override;
    void abandon() noexcept override;
    bool is_open() const override { return m_writer != nullptr; }

private:
    // Runs one step of the writer; a step that throws leaves no document open.
    template <typename Step> void step(Step&& run);

    ByteOutput& m_out;
    const FontSource& m_fonts;
    int m_deflate_level;
    std::unique_ptr<PdfDocumentWriter> m_writer;
};

} // namespace kvalon
