#include "printing/spooler/spooler_destination.h"

#include "engine/error.h"
#include "engine/messages.h"
#include "engine/notice.h"
#include "printing/page_surface.h"
#include "printing/paper_sizes.h"
#include "printing/sheet_placement.h"
#include "printing/spooler/spooler_job_follow.h"
#include "printing/spooler/spooler_page_sink.h"

#include <algorithm>

namespace kvalon {

namespace {

constexpr const char* kKind = "spooler";
constexpr const char* kPrinterField = "printer";

bool offers(const SpoolerPrinter& printer, int paper_code) {
    return std::find(printer.paper_codes.begin(), printer.paper_codes.end(), paper_code) !=
           printer.paper_codes.end();
}

} // namespace

SpoolerDestination::SpoolerDestination(std::string printer, int copies,
                                       std::shared_ptr<const SpoolerApi> spooler,
                                       int job_wait_seconds)
    : m_printer(std::move(printer)), m_copies(copies), m_spooler(std::move(spooler)),
      m_job_wait_seconds(job_wait_seconds) {}

// The printer's own paper and pixels; A4 when its paper is none we know.
SurfaceSetup SpoolerDestination::surface_setup() const {
    const SpoolerPrinter printer = m_spooler->printer(m_printer);
    SurfaceSetup setup;
    setup.paper = paper_for_code(printer.paper_code);
    if (!setup.paper.is_valid()) {
        setup.paper = paper_for_code(PaperA4);
    }
    setup.paper_code = code_for_paper(setup.paper);
    if (printer.area.dpi_x > 0) {
        setup.resolution = printer.area.dpi_x;
    }
    setup.device_name = m_printer;
    setup.copies = m_copies;
    setup.takes_a4 = printer.paper_codes.empty() || offers(printer, PaperA4);
    return setup;
}

std::unique_ptr<DocumentSink> SpoolerDestination::make_page_sink(const JobWatch& watch) const {
    return std::make_unique<SpoolerPageSink>(
        SpoolerJobSettings{m_printer, m_job_wait_seconds, watch}, m_spooler);
}

bool SpoolerDestination::reads_document(DocumentKind kind) const {
    if (kind == DocumentKind::Text) {
        return true;
    }
    try {
        const std::vector<std::string> languages = m_spooler->printer(m_printer).languages;
        return std::find(languages.begin(), languages.end(), document_kind_title(kind)) !=
               languages.end();
    } catch (const KvalonError&) {
        return false;
    }
}

void SpoolerDestination::pass_document(DocumentKind kind, const std::string& path,
                                       const std::string& title) const {
    if (!reads_document(kind)) {
        throw KvalonError(ErrorKind::NotTextReport, path,
                          messages::kDocumentOfKind + document_kind_title(kind) +
                              messages::kPrinterReadsNot + m_printer);
    }
    const int job = m_spooler->send_raw(m_printer, title, path, m_copies);
    const std::string unconfirmed =
        follow_spooler_job(*m_spooler, {m_printer, job, m_job_wait_seconds, {}});
    if (!unconfirmed.empty()) {
        tell_user(unconfirmed);
    }
}

JobPreview SpoolerDestination::describe_job(const DocumentInfo&,
                                            const PageDescription& sheet) const {
    JobPreview preview;
    try {
        const SpoolerPrinter printer = m_spooler->printer(m_printer);
        if (const auto margins = margins_of(printer.area, false)) {
            if (!place_offset_page(sheet, *margins).whole) {
                preview.note = outside_printable_note(m_printer);
            }
        }
    } catch (const KvalonError&) {
        // The job itself will say what is wrong with the printer.
    }
    return preview;
}

RememberedPrinter SpoolerDestination::remembered() const {
    return {kKind, {{kPrinterField, m_printer}}};
}

std::string remembered_spooler_printer(const RememberedPrinter& remembered) {
    if (remembered.kind != kKind) {
        return {};
    }
    const auto printer = remembered.fields.find(kPrinterField);
    return printer == remembered.fields.end() ? std::string() : printer->second;
}

} // namespace kvalon
