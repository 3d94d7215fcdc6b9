#include "printing/cups/queue_destination.h"

#include "engine/error.h"
#include "engine/messages.h"
#include "printing/cups/cups_document_format.h"
#include "printing/cups/destination_info.h"
#include "printing/cups/job_options.h"
#include "printing/cups/print_service.h"
#include "printing/cups/queue_list.h"
#include "printing/cups/queue_paper.h"
#include "printing/page_surface.h"
#include "printing/paper_sizes.h"
#include "printing/pdf/face_file_font_source.h"
#include "printing/program_font.h"

#include <algorithm>

namespace kvalon {

namespace {

constexpr const char* kKind = "cups";
constexpr const char* kQueueField = "queue";

// The device pixels of a queue's pages: fonts are set in whole pixels of
// 1/1200 inch, whatever the printer's own resolution, as queues have always
// been planned.
constexpr int kQueueResolution = 1200;

constexpr int kHeld = 4;       // IPP job-state
constexpr int kProcessing = 5; // IPP job-state

JobProgress progress_of(const JobLook& look) {
    JobProgress progress;
    progress.state = look.job_state == kHeld         ? JobProgress::State::Held
                     : look.job_state == kProcessing ? JobProgress::State::Printing
                                                     : JobProgress::State::Waiting;
    progress.printer_message = look.printer_message;
    progress.queue_paused = look.printer_stopped;
    return progress;
}

} // namespace

QueueDestination::QueueDestination(QueueSettings settings, int copies,
                                   std::shared_ptr<PrintService> service)
    : m_settings(std::move(settings)), m_copies(copies),
      m_service(service != nullptr ? std::move(service) : cups_print_service()) {}

// A queue starts on A4 unless the job or the queue names its paper.
SurfaceSetup QueueDestination::surface_setup() const {
    PaperSize paper;
    bool takes_a4 = true;
    if (!m_settings.media.empty()) {
        paper = paper_for_media(m_settings.media);
        if (!paper.is_valid()) {
            throw KvalonError(ErrorKind::CommandLine, "media=" + m_settings.media,
                              messages::kUnknownMedia);
        }
    } else {
        const QueuePaper queue = queue_paper(m_settings.queue);
        paper = queue.paper;
        takes_a4 = queue.takes_a4;
    }
    if (!paper.is_valid()) {
        paper = paper_for_code(PaperA4);
    }
    SurfaceSetup setup;
    setup.paper = paper;
    setup.paper_code = code_for_paper(paper);
    setup.resolution = kQueueResolution;
    setup.device_name = m_settings.queue;
    setup.copies = m_copies;
    setup.takes_a4 = takes_a4;
    return setup;
}

CupsJobSettings QueueDestination::job_settings(const JobWatch& watch) const {
    CupsJobSettings settings;
    settings.queue = m_settings.queue;
    settings.options = m_settings.job_options;
    settings.wait_seconds = m_settings.job_wait_seconds;
    settings.signal_cancels_followed_job = m_settings.signal_cancels_followed_job;
    settings.destination = m_settings.description;
    // Whoever follows the job beside it (the windows) sees it wait in a
    // paused queue, as a job sent with lp would.
    if (watch) {
        settings.on_look = [watch](const JobLook& look) { return watch(progress_of(look)); };
        settings.paused_queue_waits = true;
    }
    return settings;
}

std::unique_ptr<DocumentSink> QueueDestination::make_page_sink(const JobWatch& watch) const {
    return std::make_unique<CupsJobSink>(
        job_settings(watch), std::make_shared<const FaceFileFontSource>(program_faces()),
        m_service);
}

// A queue reads PCL when it lists PCL's own format; PostScript and PDF every
// queue converts.
bool QueueDestination::reads_document(DocumentKind kind) const {
    return kind != DocumentKind::Pcl || queue_reads_pcl(m_settings.queue);
}

void QueueDestination::pass_document(DocumentKind kind, const std::string& path,
                                     const std::string& title) const {
    CupsJobSink queue(job_settings(), nullptr, m_service);
    queue.send_file(DocumentInfo{title, m_copies}, path,
                    document_format_for(m_settings.queue, kind));
}

JobPreview QueueDestination::describe_job(const DocumentInfo& info,
                                          const PageDescription& sheet) const {
    JobPreview preview;
    try {
        const JobTerms terms = m_service->shown_terms(job_settings(), own_settings_for(info));
        preview.settings = options_text(terms.options);
        if (terms.margins) {
            if (!place_offset_page(sheet, *terms.margins).whole) {
                preview.note = cells_outside_note(m_settings.queue);
            }
        }
    } catch (const KvalonError&) {
        // The job itself will say what is wrong with the destination.
    }
    return preview;
}

RememberedPrinter QueueDestination::remembered() const {
    return {kKind, {{kQueueField, m_settings.queue}}};
}

std::shared_ptr<const Destination> queue_after(const Destination* bound, const std::string& queue) {
    return std::make_shared<QueueDestination>(QueueSettings{queue}, bound ? bound->copies() : 1);
}

std::shared_ptr<const Destination> restore_queue(const RememberedPrinter& remembered) {
    if (remembered.kind != kKind) {
        return nullptr;
    }
    const auto queue = remembered.fields.find(kQueueField);
    if (queue == remembered.fields.end() || queue->second.empty()) {
        return nullptr;
    }
    const std::vector<std::string> queues = cups_queue_names();
    if (std::find(queues.begin(), queues.end(), queue->second) == queues.end()) {
        return nullptr;
    }
    return std::make_shared<QueueDestination>(QueueSettings{queue->second});
}

} // namespace kvalon
