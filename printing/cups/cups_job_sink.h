#pragma once

#include "engine/print_service_waits.h"
#include "engine/signal_cleanup.h"
#include "printing/cups/cups_job_check.h"
#include "printing/document_sink.h"
#include "printing/job_option.h"
#include "printing/pdf/font_source.h"
#include "printing/sheet_placement.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace kvalon {

class JobRequest;
class PdfStreamSink;
class PrintService;
class DestinationInfo;

// What a CUPS job is sent with besides its pages.
struct CupsJobSettings {
    std::string queue;                  // the destination: "QUEUE" or "QUEUE/INSTANCE"
    JobOptions options;                 // asked by whoever sent the report, under the program's own
    int wait_seconds = kJobWaitSeconds; // how long the finished job is followed
    // An ending signal while the finished job is followed cancels it too: the
    // print-server backend is ended so when its own job is cancelled, or when
    // the server stops and will send the job again.
    bool signal_cancels_followed_job = false;
    // Sees every look at the finished job while it is followed (the thread
    // that finishes the job calls it). Returning false ends the following
    // there, silently: the job is left to print.
    std::function<bool(const JobLook&)> on_look;
    // A stopped (paused) queue takes the job and keeps it, as `lp` does, and
    // the job is followed there; otherwise it is refused at once and a job
    // whose queue stops is cancelled, so a batch caller is never left with a
    // job that prints who knows when.
    bool paused_queue_waits = false;
    // The destination's description when it has been read already; null:
    // read when the job begins.
    std::shared_ptr<const DestinationInfo> destination = nullptr;
};

// A CUPS queue: our own PDF, streamed to the print service as one job
// (application/pdf) while its pages are drawn. The job carries what `lp`
// would send to the destination (its defaults, lpoptions, the instance's
// options), the settings' options on top, and on top of all the program's
// own: the copies, the title and the paper the pages were planned on, so that
// they print at their size on a printer whose own paper is another. Pages
// are moved on the sheet, never scaled, so that their cells lie within the
// margins the queue reports for that paper; when they cannot, the user is
// told once. The queue is asked before the job is made (a stopped, refusing
// or missing queue fails at once).
// The job is handed over when every byte of the document, the end of the
// request included, has gone to the print service: from then on it needs
// nothing more of us to print the job. Until then a job that is abandoned or
// fails is cancelled first, so nothing of it prints, and only then is the
// failure told; an ending signal while the job is sent cancels it at the next
// page before it ends the program, so the queue is not left waiting for the
// rest of the document. After the hand-over the job is followed until the
// printer has it: a job aborted, cancelled or stopped on the way is a printer
// failure with the printer's own message; a job still waiting at the time
// limit, or a print service that stops answering (also before it answered
// the hand-over itself), is told as not followed to the end and left to
// print, never as a failure: the sender would send it again and it would
// print twice.
// The sink asks the print service through `service` (libcups's in the program).
class CupsJobSink final : public DocumentSink {
public:
    CupsJobSink(CupsJobSettings settings, std::shared_ptr<const FontSource> fonts,
                std::shared_ptr<PrintService> service);
    ~CupsJobSink() override;

    void begin(const DocumentInfo& info) override;
    void add_page(const PageDescription& page) override;
    void finish() override;
    void abandon() noexcept override;
    bool is_open() const override { return m_document != nullptr; }
    std::string unconfirmed() const override { return m_unconfirmed; }

    // Sends the file at `path` as it is, one job of the document format
    // `format` ("application/postscript") with the job's options, the copies
    // and the title as for our own PDF but no paper (the document has its
    // own), and follows it to its end the same way. Throws KvalonError: File
    // when the file cannot be read, Printer naming the queue when the queue
    // or the printer does not take it.
    void send_file(const DocumentInfo& info, const std::string& path, const std::string& format);

private:
    void start_request(const DocumentInfo& info, const char* format);
    void create_job(const DocumentInfo& info, const JobOptions& options, const char* format);
    void end_request();
    void place(const PageDescription& page);
    void hand_over();
    void follow_to_the_end();
    void tell_not_followed(const std::string& why);
    void cancel_unfinished_job() noexcept;
    [[noreturn]] void cancel_and_end(int signal_number);
    [[noreturn]] void fail(const std::string& reason);

    CupsJobSettings m_settings;
    std::string m_queue; // the destination's queue, without its instance
    std::shared_ptr<const FontSource> m_fonts;
    std::shared_ptr<PrintService> m_service;
    std::unique_ptr<JobRequest> m_request;
    std::unique_ptr<PdfStreamSink> m_document;
    int m_job_id = 0;
    std::string m_unconfirmed;                // why the last job handed over was not seen printed
    std::optional<SignalDeferral> m_deferral; // while the job is sent (and followed)
    std::optional<MediaMargins> m_margins;    // of the job's paper, when the queue lists it
    PageArea m_told_cells;                    // the cells the user was last told do not fit
};

// What the user is told when a page's cells cannot all lie within the
// margins `queue` reports for its paper.
std::string cells_outside_note(const std::string& queue);

} // namespace kvalon
