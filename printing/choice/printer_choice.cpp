#include "printing/choice/printer_choice.h"

#include "printing/pdf/pdf_destination.h"

namespace kvalon {

// The PDF printer needs no print service: one that is slow or missing must not
// hold a PDF job.
PrinterChoice choose_printer(const PrinterRequest& request) {
    if (!request.pdf_path.empty()) {
        return {1, std::make_shared<PdfDestination>(request.pdf_path, request.paper_code,
                                                    request.copies)};
    }
    return system_printers().choose(request);
}

std::shared_ptr<const Destination> picked_pdf_printer(const Destination* bound,
                                                      const std::string& path) {
    return pdf_printer_after(bound, path);
}

std::shared_ptr<const Destination> restore_printer(const RememberedPrinter& remembered) {
    if (std::shared_ptr<const Destination> pdf = restore_pdf_printer(remembered)) {
        return pdf;
    }
    return system_printers().restore(remembered);
}

} // namespace kvalon
