#pragma once

#include "engine/print_service_waits.h"
#include "printing/destination.h"
#include "printing/spooler/spooler_api.h"

#include <memory>
#include <string>

namespace kvalon {

// A printer of the Windows spooler: pages planned on its own paper at its
// own resolution and drawn through GDI (printing/spooler/spooler_page_sink.h);
// documents that are not text reports sent raw to a printer whose driver
// reads their language, refused otherwise.
class SpoolerDestination final : public Destination {
public:
    SpoolerDestination(std::string printer, int copies, std::shared_ptr<const SpoolerApi> spooler,
                       int job_wait_seconds = kJobWaitSeconds);

    std::string name() const override { return m_printer; }
    SurfaceSetup surface_setup() const override;
    std::unique_ptr<DocumentSink> make_page_sink(const JobWatch& watch = {}) const override;
    bool reads_document(DocumentKind kind) const override;
    void pass_document(DocumentKind kind, const std::string& path,
                       const std::string& title) const override;
    JobPreview describe_job(const DocumentInfo& info, const PageDescription& sheet) const override;
    int copies() const override { return m_copies; }
    RememberedPrinter remembered() const override;

private:
    std::string m_printer;
    int m_copies;
    std::shared_ptr<const SpoolerApi> m_spooler;
    int m_job_wait_seconds;
};

// The printer a remembered spooler printer names; empty for another kind.
std::string remembered_spooler_printer(const RememberedPrinter& remembered);

} // namespace kvalon
