#pragma once

#include "engine/print_service_waits.h"
#include "printing/cups/cups_job_sink.h"
#include "printing/destination.h"
#include "printing/job_option.h"

#include <memory>
#include <string>

namespace kvalon {

class DestinationInfo;
class PrintService;

// A CUPS destination as it was asked for, besides the copies.
struct QueueSettings {
    std::string queue; // "QUEUE" or "QUEUE/INSTANCE"
    // The paper its pages are planned on ("A5", "iso_a5_148x210mm"); empty:
    // the queue's own.
    std::string media{};
    JobOptions job_options{}; // asked by whoever sent the report
    // The destination's description when it has been read already (the
    // backend reads it for the client's options); null: read when a job begins.
    std::shared_ptr<const DestinationInfo> description{};
    int job_wait_seconds = kJobWaitSeconds; // how long a job is followed to its end
    // An ending signal cancels a job also while it is followed (the
    // print-server backend; see CupsJobSettings).
    bool signal_cancels_followed_job = false;
};

// A CUPS queue: pages drawn in pixels of 1/1200 inch on the paper asked for,
// else the queue's own, else A4; every document one job of its own
// (printing/cups/cups_job_sink.h); documents that are not text reports sent
// as they are, in their own document format.
class QueueDestination final : public Destination {
public:
    explicit QueueDestination(QueueSettings settings, int copies = 1,
                              std::shared_ptr<PrintService> service = nullptr);

    std::string name() const override { return m_settings.queue; }
    SurfaceSetup surface_setup() const override;
    std::unique_ptr<DocumentSink> make_page_sink(const JobWatch& watch = {}) const override;
    bool reads_document(DocumentKind kind) const override;
    void pass_document(DocumentKind kind, const std::string& path,
                       const std::string& title) const override;
    JobPreview describe_job(const DocumentInfo& info, const PageDescription& sheet) const override;
    int copies() const override { return m_copies; }
    RememberedPrinter remembered() const override;

    const QueueSettings& settings() const { return m_settings; }
    // What every job sent here is sent with: the one place it is made, for
    // pages drawn on its surface, pages drawn elsewhere and documents alike.
    CupsJobSettings job_settings(const JobWatch& watch = {}) const;

private:
    QueueSettings m_settings;
    int m_copies;
    std::shared_ptr<PrintService> m_service;
};

// The queue `queue` picked in the windows, with the copies of `bound`.
std::shared_ptr<const Destination> queue_after(const Destination* bound, const std::string& queue);

// The queue the windows remembered, when the print service still offers it;
// null otherwise, also for another kind.
std::shared_ptr<const Destination> restore_queue(const RememberedPrinter& remembered);

} // namespace kvalon
