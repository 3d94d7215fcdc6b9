#include "printing/cups/cups_job_sink.h"

#include "engine/error.h"
#include "engine/messages.h"
#include "engine/notice.h"
#include "platform/owned_fd.h"
#include "printing/cups/cups_job_check.h"
#include "printing/cups/destination_info.h"
#include "printing/cups/job_options.h"
#include "printing/cups/print_service.h"
#include "printing/pdf/byte_output.h"
#include "printing/pdf/pdf_stream_sink.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace kvalon {

std::string cells_outside_note(const std::string& queue) {
    return messages::kCellsOutsidePrintable + queue + messages::kCellsOutsidePrintableEnd;
}

CupsJobSink::CupsJobSink(CupsJobSettings settings, std::shared_ptr<const FontSource> fonts,
                         std::shared_ptr<PrintService> service)
    : m_settings(std::move(settings)), m_queue(split_destination(m_settings.queue).queue),
      m_fonts(std::move(fonts)), m_service(std::move(service)) {}

CupsJobSink::~CupsJobSink() {
    abandon();
}

void CupsJobSink::start_request(const DocumentInfo& info, const char* format) {
    abandon();
    m_unconfirmed.clear();
    if (const std::optional<std::string> refusal = m_service->queue_refusal(m_queue);
        refusal && !(m_settings.paused_queue_waits && *refusal == messages::kQueueStopped)) {
        throw KvalonError(ErrorKind::Printer, m_settings.queue, *refusal);
    }
    const JobTerms terms = m_service->job_terms(m_settings, own_settings_for(info));
    m_margins = terms.margins;
    m_request = m_service->open_request(m_queue);
    create_job(info, terms.options, format);
}

void CupsJobSink::begin(const DocumentInfo& info) {
    start_request(info, "application/pdf");
    m_document = std::make_unique<PdfStreamSink>(m_request->document(), *m_fonts);
    try {
        // The queue makes the copies.
        m_document->begin(DocumentInfo{info.title, 1});
    } catch (const KvalonError& error) {
        fail(error.detail());
    }
}

void CupsJobSink::create_job(const DocumentInfo& info, const JobOptions& options,
                             const char* format) {
    m_deferral.emplace();
    m_job_id = m_request->create_job(info.title, options);
    if (m_job_id == 0) {
        fail(m_request->refusal());
    }
    if (!m_request->start_document(info.title, format)) {
        fail(m_request->refusal());
    }
}

void CupsJobSink::add_page(const PageDescription& page) {
    if (const int signal_number = deferred_signal(); signal_number != 0) {
        cancel_and_end(signal_number);
    }
    try {
        place(page);
    } catch (const KvalonError& error) {
        fail(error.detail());
    }
}

// A page whose cells already lie within the margins goes out as it is.
void CupsJobSink::place(const PageDescription& page) {
    if (!m_margins || page.cells.empty()) {
        m_document->add_page(page);
        return;
    }
    const PagePlacement placement = place_offset_page(page, *m_margins);
    if (!placement.whole && !(page.cells == m_told_cells)) {
        m_told_cells = page.cells;
        tell_user(cells_outside_note(m_settings.queue));
    }
    if (placement.right_mm == 0 && placement.down_mm == 0) {
        m_document->add_page(page);
        return;
    }
    PageDescription moved = page;
    move_page(moved, placement);
    m_document->add_page(moved);
}

void CupsJobSink::finish() {
    try {
        m_document->finish();
    } catch (const KvalonError& error) {
        fail(error.detail());
    }
    end_request();
}

void CupsJobSink::send_file(const DocumentInfo& info, const std::string& path,
                            const std::string& format) {
    OwnedFd input(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!input.valid()) {
        throw KvalonError(ErrorKind::File, path, system_reason(errno));
    }
    start_request(info, format.c_str());
    std::vector<char> buffer(std::size_t{1} << 16);
    try {
        for (ssize_t got = 0; (got = ::read(input.get(), buffer.data(), buffer.size())) != 0;) {
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                const int reason = errno;
                abandon();
                throw KvalonError(ErrorKind::File, path, system_reason(reason));
            }
            if (deferred_signal() != 0) {
                abandon(); // and the kept signal ends the program
            }
            m_request->document().write(buffer.data(), static_cast<std::size_t>(got));
        }
        m_request->document().flush();
    } catch (const KvalonError& error) {
        if (error.kind() != ErrorKind::Printer) {
            throw;
        }
        fail(error.detail());
    }
    end_request();
}

// The document is whole: the request ends, and the job is followed until the
// printer has it.
void CupsJobSink::end_request() {
    hand_over();
    const std::optional<std::string> answer = m_request->answer();
    m_request.reset();
    if (answer && !answer->empty()) {
        // The service said no to the document it has: it must not print it.
        fail(*answer);
    }
    if (!m_settings.signal_cancels_followed_job) {
        // From here on a signal ends the program at once and the job prints.
        m_deferral.reset();
    }
    if (answer) {
        follow_to_the_end();
    } else {
        tell_not_followed(messages::kStoppedWatchingSilent);
    }
    m_job_id = 0;
    m_deferral.reset();
}

// The last bytes of the document and the end of the request leave the
// buffers; a failure before the end left the job without its whole document.
// Whether the answer arrives no longer decides what becomes of the job.
void CupsJobSink::hand_over() {
    if (!m_request->hand_over()) {
        fail(messages::kServiceSilent);
    }
    m_document.reset();
}

void CupsJobSink::follow_to_the_end() {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(m_settings.wait_seconds);
    const JobOutcome outcome = m_service->follow_job(
        m_queue, m_job_id, deadline, m_settings.on_look, m_settings.paused_queue_waits);
    switch (outcome.state) {
    case JobOutcome::State::Completed:
        return;
    case JobOutcome::State::Failed:
        m_job_id = 0;
        throw KvalonError(ErrorKind::Printer, m_settings.queue, outcome.reason);
    case JobOutcome::State::Cancelled:
        m_job_id = 0;
        throw KvalonError(ErrorKind::JobCancelled, m_settings.queue, outcome.reason);
    case JobOutcome::State::Unwatched:
        // Whoever follows the job has gone: it is left to print, silently.
        return;
    case JobOutcome::State::StillWaiting:
        tell_not_followed(messages::kStoppedWatchingAfter +
                          std::to_string(m_settings.wait_seconds) +
                          messages::kStoppedWatchingNotYetPrinted);
        return;
    case JobOutcome::State::ServiceSilent:
        tell_not_followed(messages::kStoppedWatchingSilent);
        return;
    case JobOutcome::State::SignalKept:
        cancel_and_end(deferred_signal());
    }
}

void CupsJobSink::tell_not_followed(const std::string& why) {
    m_unconfirmed = messages::kStoppedWatching + m_settings.queue + why;
    tell_user(m_unconfirmed);
}

// A job made but not handed over is cancelled: the queue prints nothing of
// it. The request it was sent in is broken off, so the cancelling goes on a
// connection of its own.
void CupsJobSink::cancel_unfinished_job() noexcept {
    m_document.reset();
    m_request.reset();
    if (m_job_id != 0) {
        m_service->cancel_job(m_queue, m_job_id);
    }
    m_job_id = 0;
}

// The queue must not wait for the rest of the document, nor print a job whose
// sender has ended it: the job goes first, then the program.
void CupsJobSink::cancel_and_end(int signal_number) {
    cancel_unfinished_job();
    end_by_signal(signal_number);
}

void CupsJobSink::abandon() noexcept {
    cancel_unfinished_job();
    m_deferral.reset();
}

void CupsJobSink::fail(const std::string& reason) {
    abandon();
    throw KvalonError(ErrorKind::Printer, m_settings.queue, reason);
}

} // namespace kvalon
