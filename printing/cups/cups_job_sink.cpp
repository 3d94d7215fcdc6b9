#include "printing/cups/cups_job_sink.h"

#include "engine/error.h"
#include "engine/messages.h"
#include "engine/notice.h"
#include "engine/owned_fd.h"
#include "printing/cups/cups_connection.h"
#include "printing/cups/cups_job_check.h"
#include "printing/cups/cups_request_output.h"
#include "printing/cups/destination_info.h"
#include "printing/cups/job_options.h"
#include "printing/pdf/pdf_stream_sink.h"

#include <cups/cups.h>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace kvalon {

namespace {

// The options of a job, freed on every path.
class CupsOptionList {
public:
    explicit CupsOptionList(const JobOptions& options) {
        for (const JobOption& option : options) {
            m_count = cupsAddOption(option.name.c_str(), option.value.c_str(), m_count, &m_options);
        }
    }
    ~CupsOptionList() { cupsFreeOptions(m_count, m_options); }
    CupsOptionList(const CupsOptionList&) = delete;
    CupsOptionList& operator=(const CupsOptionList&) = delete;

    int count() const { return m_count; }
    cups_option_t* options() const { return m_options; }

private:
    int m_count = 0;
    cups_option_t* m_options = nullptr;
};

OwnJobSettings own_settings(const DocumentInfo& info) {
    OwnJobSettings own;
    own.copies = info.copies;
    if (info.paper_width_mm > 0 && info.paper_height_mm > 0) {
        own.media = media_name_for(info.paper_width_mm, info.paper_height_mm);
    }
    return own;
}

std::optional<MediaMargins> margins_of(const DestinationInfo& destination,
                                       const OwnJobSettings& own) {
    if (own.media.empty()) {
        return std::nullopt;
    }
    if (const std::optional<DestinationMedia> media = destination.media(own.media)) {
        return media->margins;
    }
    return std::nullopt;
}

std::string outside_note(const std::string& queue) {
    return messages::kCellsOutsidePrintable + queue + messages::kCellsOutsidePrintableEnd;
}

// Create-Job as libcups's cupsCreateJob sends it, without the two questions
// about the queue it asks first (one of them for the queue's whole
// description): the queue has just been asked. The job's id, 0 when refused.
int create_job_on(http_t* http, const std::string& queue, const std::string& title,
                  const CupsOptionList& options) {
    ipp_t* request = ippNewRequest(IPP_OP_CREATE_JOB);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
                 printer_uri(queue).c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr, title.c_str());
    cupsEncodeOptions2(request, options.count(), options.options(), IPP_TAG_OPERATION);
    cupsEncodeOptions2(request, options.count(), options.options(), IPP_TAG_JOB);
    ipp_t* response = cupsDoRequest(http, request, ("/printers/" + queue).c_str());
    ipp_attribute_t* id = ippFindAttribute(response, "job-id", IPP_TAG_INTEGER);
    const int job_id =
        cupsLastError() <= IPP_STATUS_OK_CONFLICTING && id != nullptr ? ippGetInteger(id, 0) : 0;
    ippDelete(response);
    return job_id;
}

} // namespace

CupsJobSink::CupsJobSink(CupsJobSettings settings, std::shared_ptr<const FontSource> fonts)
    : m_settings(std::move(settings)), m_queue(split_destination(m_settings.queue).queue),
      m_fonts(std::move(fonts)) {}

CupsJobSink::~CupsJobSink() {
    abandon();
}

void CupsJobSink::start_request(const DocumentInfo& info, const char* format) {
    abandon();
    if (const std::optional<std::string> refusal = queue_refusal(m_queue)) {
        throw KvalonError(ErrorKind::Printer, m_settings.queue, *refusal);
    }
    const OwnJobSettings own = own_settings(info);
    JobOptions options;
    {
        const std::shared_ptr<const DestinationInfo> destination =
            m_settings.destination != nullptr
                ? m_settings.destination
                : std::make_shared<const DestinationInfo>(m_settings.queue);
        options = job_options(*destination, m_settings.options, own);
        m_margins = margins_of(*destination, own);
    }
    m_connection = std::make_unique<CupsConnection>();
    create_job(info, options, format);
    m_output = std::make_unique<CupsRequestOutput>(*m_connection, m_settings.queue);
}

void CupsJobSink::begin(const DocumentInfo& info) {
    start_request(info, CUPS_FORMAT_PDF);
    m_document = std::make_unique<PdfStreamSink>(*m_output, *m_fonts);
    try {
        // The queue makes the copies.
        m_document->begin(DocumentInfo{info.title, 1});
    } catch (const KvalonError& error) {
        fail(error.detail());
    }
}

void CupsJobSink::create_job(const DocumentInfo& info, const JobOptions& job_options,
                             const char* format) {
    const CupsOptionList options(job_options);
    http_t* http = m_connection->get();
    const char* queue = m_queue.c_str();
    m_deferral.emplace();
    m_job_id = create_job_on(http, m_queue, info.title, options);
    if (m_job_id == 0) {
        fail(service_reason(cupsLastError()));
    }
    if (cupsStartDocument(http, queue, m_job_id, info.title.c_str(), format, 1) !=
        HTTP_STATUS_CONTINUE) {
        fail(service_reason(cupsLastError()));
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
    const PagePlacement placement = place_within_margins(page.cells, page.width_mm, page.height_mm,
                                                         page.landscape, *m_margins, page.dpi);
    if (!placement.whole && !(page.cells == m_told_cells)) {
        m_told_cells = page.cells;
        tell_user(outside_note(m_settings.queue));
    }
    if (placement.right_mm == 0 && placement.down_mm == 0) {
        m_document->add_page(page);
        return;
    }
    PageDescription moved = page;
    move_page(moved, placement);
    m_document->add_page(moved);
}

JobPreview CupsJobSink::preview(const DocumentInfo& info, const PageDescription& sheet) {
    JobPreview preview;
    try {
        const DestinationInfo destination(m_settings.queue);
        const OwnJobSettings own = own_settings(info);
        preview.settings = options_text(
            notable_options(destination, job_options(destination, m_settings.options, own)));
        if (const std::optional<MediaMargins> margins = margins_of(destination, own)) {
            const PagePlacement placement = place_within_margins(
                sheet.cells, sheet.width_mm, sheet.height_mm, sheet.landscape, *margins, sheet.dpi);
            if (!placement.whole) {
                preview.note = outside_note(m_settings.queue);
            }
        }
    } catch (const KvalonError&) {
        // The job itself will say what is wrong with the destination.
    }
    return preview;
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
            m_output->write(buffer.data(), static_cast<std::size_t>(got));
        }
        m_output->flush();
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
    m_connection->restart_clock();
    const ipp_status_t status = cupsFinishDocument(m_connection->get(), m_queue.c_str());
    const bool answered = m_connection->answered();
    m_connection.reset();
    if (answered && status > IPP_STATUS_OK_CONFLICTING) {
        // The service said no to the document it has: it must not print it.
        fail(service_reason(status));
    }
    if (!m_settings.signal_cancels_followed_job) {
        // From here on a signal ends the program at once and the job prints.
        m_deferral.reset();
    }
    if (answered) {
        follow_to_the_end();
    } else {
        tell_not_followed(messages::kStoppedWatchingSilent);
    }
    m_job_id = 0;
    m_deferral.reset();
}

// The last bytes of the document and the end of the request leave the
// buffers; a failure before the end left the job without its whole document.
// The end is written without asking for the answer, which the print service
// may never send: whether it arrives no longer decides what becomes of the
// job.
void CupsJobSink::hand_over() {
    http_t* http = m_connection->get();
    m_connection->restart_clock();
    if (httpWrite2(http, "", 0) < 0 || httpError(http) != 0) {
        fail(messages::kServiceSilent);
    }
    m_document.reset();
    m_output.reset();
}

void CupsJobSink::follow_to_the_end() {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(m_settings.wait_seconds);
    const JobOutcome outcome = follow_job(m_queue, m_job_id, deadline, m_settings.on_look);
    switch (outcome.state) {
    case JobOutcome::State::Completed:
        return;
    case JobOutcome::State::Failed:
        m_job_id = 0;
        throw KvalonError(ErrorKind::Printer, m_settings.queue, outcome.reason);
    case JobOutcome::State::StillWaiting:
        // Ended early by whoever follows the job: it is left to print, silently.
        if (std::chrono::steady_clock::now() < deadline) {
            return;
        }
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

void CupsJobSink::tell_not_followed(const std::string& why) const {
    tell_user(messages::kStoppedWatching + m_settings.queue + why);
}

// A job made but not handed over is cancelled: the queue prints nothing of
// it. The request it was sent in is broken off, so the cancelling goes on a
// connection of its own.
void CupsJobSink::cancel_unfinished_job() noexcept {
    m_document.reset();
    m_output.reset();
    m_connection.reset();
    if (m_job_id != 0) {
        cancel_job(m_queue, m_job_id);
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
