#pragma once

#include "printing/document_sink.h"
#include "printing/pdf/font_source.h"

#include <memory>
#include <string>

namespace kvalon {

class FdByteOutput;
class PdfStreamSink;
class PdfTargetFile;

// The built-in PDF printer: our own PDF, streamed page by page into a fresh
// file beside the target that replaces the target only when the document is
// whole (see PdfTargetFile). Copies are real: the pages follow again.
class PdfFileSink final : public DocumentSink {
public:
    PdfFileSink(std::string target, std::shared_ptr<const FontSource> fonts);
    ~PdfFileSink() override;

    void begin(const DocumentInfo& info) override;
    void add_page(const PageDescription& page) override;
    void finish() override;
    void abandon() noexcept override;
    bool is_open() const override;

private:
    std::string m_target;
    std::shared_ptr<const FontSource> m_fonts;
    std::unique_ptr<PdfTargetFile> m_file;
    std::unique_ptr<FdByteOutput> m_output;
    std::unique_ptr<PdfStreamSink> m_document;
};

} // namespace kvalon
