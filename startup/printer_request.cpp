#include "startup/printer_request.h"

#include "engine/error.h"
#include "printing/paper_sizes.h"
#include "startup/environment_settings.h"

#include <cstdlib>
#include <string>

namespace kvalon {

namespace {

// A paper code the PDF printer does not know would silently print on A4.
void refuse_unknown_paper(const ProgramOptions& options, int code) {
    if (!paper_for_code(code).is_valid()) {
        throw KvalonError(ErrorKind::CommandLine, options.paper
                                                      ? "--paper " + std::to_string(code)
                                                      : "KVALON_PAPER=" + std::to_string(code));
    }
}

} // namespace

PrinterRequest printer_request(const ProgramOptions& options) {
    PrinterRequest request;
    if (const char* pdf = std::getenv("KVALON_PDF")) {
        request.pdf_path = pdf;
    }
    request.paper_code = environment_number("KVALON_PAPER", request.paper_code);
    if (options.pdf) {
        request.pdf_path = *options.pdf;
    }
    if (options.printer) {
        request.printer = *options.printer;
        request.pdf_path.clear();
    }
    request.paper_code = options.paper.value_or(request.paper_code);
    request.copies = options.copies.value_or(request.copies);
    request.job_wait_seconds = job_wait_from_environment(request.job_wait_seconds);
    apply_service_wait_from_environment();
    refuse_unknown_paper(options, request.paper_code);
    return request;
}

bool names_a_printer(const ProgramOptions& options) {
    return options.printer || options.pdf || std::getenv("KVALON_PDF") != nullptr;
}

} // namespace kvalon
