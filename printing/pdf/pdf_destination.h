#pragma once

#include "engine/paper_codes.h"
#include "printing/destination.h"

#include <memory>
#include <string>

namespace kvalon {

// The built-in PDF printer: every document a PDF file at `path`, on the paper
// of Windows code `paper_code`, the whole sheet printable, at DrawingDpi;
// copies are real (the pages follow again). A file is put in place only when
// it is whole (printing/pdf_target_file.h). Documents that are not text
// reports are copied or made PDFs (printing/pdf/pdf_document_pass.h).
class PdfDestination final : public Destination, public FileOutput {
public:
    explicit PdfDestination(std::string path, int paper_code = PaperA4, int copies = 1);

    std::string name() const override;
    SurfaceSetup surface_setup() const override;
    std::unique_ptr<DocumentSink> make_page_sink(const JobWatch& watch = {}) const override;
    // PostScript and PDF become the PDF file; PCL is ours to render.
    bool reads_document(DocumentKind kind) const override { return kind != DocumentKind::Pcl; }
    void pass_document(DocumentKind kind, const std::string& path,
                       const std::string& title) const override;
    const FileOutput* file_output() const override { return this; }
    int copies() const override { return m_copies; }
    RememberedPrinter remembered() const override;

    const std::string& path() const override { return m_path; }
    std::unique_ptr<DocumentSink> make_file_sink(const std::string& path) const override;

    int paper_code() const { return m_paper_code; }

private:
    std::string m_path;
    int m_paper_code;
    int m_copies;
};

// The PDF printer writing `path`, picked in the windows: on the paper and
// with the copies of `bound` when that is the PDF printer too, else on A4,
// one copy (as a queue's paper is the queue's own).
std::shared_ptr<const Destination> pdf_printer_after(const Destination* bound,
                                                     const std::string& path);

// The PDF printer the windows remembered, when the folder of its file is
// still there; null otherwise, also for another kind.
std::shared_ptr<const Destination> restore_pdf_printer(const RememberedPrinter& remembered);

} // namespace kvalon
