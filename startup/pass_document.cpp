#include "startup/pass_document.h"

#include "printing/cups/cups_document_format.h"
#include "printing/cups/cups_job_sink.h"
#include "printing/pdf/pdf_document_pass.h"
#include "printing/qt/paper_sizes.h"

#include <QPageSize>
#include <QSizeF>

namespace kvalon {

namespace {

PaperPoints paper_of(int paper_code) {
    const QSizeF size = page_size_for_code(paper_code).size(QPageSize::Point);
    return size.isValid() ? PaperPoints{size.width(), size.height()} : PaperPoints{};
}

} // namespace

void pass_document(const PrinterTarget& target, DocumentKind kind, const std::string& path,
                   const std::string& title) {
    if (target.kind == PrinterTarget::Kind::Pdf) {
        write_document_as_pdf(kind, path, target.pdf_path, paper_of(target.paper_code),
                              target.copies);
        return;
    }
    CupsJobSink queue(CupsJobSettings{target.queue,
                                      target.job_options,
                                      target.job_wait_seconds,
                                      target.signal_cancels_followed_job,
                                      {}},
                      nullptr);
    queue.send_file(DocumentInfo{title, target.copies}, path,
                    document_format_for(target.queue, kind));
}

} // namespace kvalon
