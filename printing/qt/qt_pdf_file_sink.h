#pragma once

#include "printing/document_sink.h"

#include <memory>
#include <string>

namespace kvalon {

class FaceCache;

// The built-in PDF printer: pages painted by Qt's PDF writer into the file of
// the target, which is replaced only by a complete document.
class QtPdfFileSink final : public DocumentSink {
public:
    QtPdfFileSink(std::string target, int dpi, std::shared_ptr<FaceCache> faces);
    ~QtPdfFileSink() override;

    void begin(const DocumentInfo& info) override;
    void add_page(const PageDescription& page) override;
    void finish() override;
    void abandon() noexcept override;
    bool is_open() const override;

private:
    struct Document;
    [[noreturn]] void fail(const std::string& reason);

    std::string m_target;
    int m_dpi;
    std::shared_ptr<FaceCache> m_faces;
    std::unique_ptr<Document> m_document;
};

} // namespace kvalon
