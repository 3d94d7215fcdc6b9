#include "startup/pass_document.h"

#include "printing/cups/cups_document_format.h"
#include "printing/cups/cups_job_sink.h"
#include "printing/paper_sizes.h"
#include "printing/pdf/pdf_document_pass.h"

namespace kvalon {

namespace {

PaperPoints paper_of(int paper_code) {
    const PaperSize paper = paper_for_code(paper_code);
    return paper.is_valid() ? PaperPoints{static_cast<double>(paper.width_points),
                                          static_cast<double>(paper.height_points)}
                            : PaperPoints{};
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
                                      {},
                                      target.destination},
                      nullptr);
    queue.send_file(DocumentInfo{title, target.copies}, path,
                    document_format_for(target.queue, kind));
}

} // namespace kvalon
