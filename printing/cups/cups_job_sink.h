#pragma once

#include "engine/signal_cleanup.h"
#include "printing/document_sink.h"
#include "printing/pdf/font_source.h"

#include <memory>
#include <optional>
#include <string>

namespace kvalon {

class CupsConnection;
class CupsRequestOutput;
class PdfStreamSink;

// What a CUPS job is sent with besides its pages.
struct CupsJobSettings {
    std::string queue;
    std::string media;     // the job's paper ("A4", "iso_a5_148x210mm"); empty: the queue's own
    int wait_seconds = 60; // how long the finished job is followed
};

// A CUPS queue: our own PDF, streamed to the print service as one job
// (application/pdf) while its pages are drawn, with the copies, the paper and
// the title as the job's attributes. The queue is asked before the job is
// made (a stopped, refusing or missing queue fails at once); a finished job
// is followed until the printer has it: a job aborted, cancelled or stopped
// on the way is a printer failure with the printer's own message, a job still
// waiting at the time limit is told and left to print. A job that is
// abandoned or fails is cancelled, so nothing of it prints; an ending signal
// while the job is sent cancels it at the next page before it ends the
// program, so the queue is not left waiting for the rest of the document.
class CupsJobSink final : public DocumentSink {
public:
    CupsJobSink(CupsJobSettings settings, std::shared_ptr<const FontSource> fonts);
    ~CupsJobSink() override;

    void begin(const DocumentInfo& info) override;
    void add_page(const PageDescription& page) override;
    void finish() override;
    void abandon() noexcept override;
    bool is_open() const override { return m_document != nullptr; }

    // Sends the file at `path` as it is, one job of the document format
    // `format` ("application/postscript"), with the copies, the paper and the
    // title as for our own PDF, and follows it to its end the same way.
    // Throws KvalonError: File when the file cannot be read, Printer naming
    // the queue when the queue or the printer does not take it.
    void send_file(const DocumentInfo& info, const std::string& path, const std::string& format);

private:
    void start_request(const DocumentInfo& info, const char* format);
    void create_job(const DocumentInfo& info, const char* format);
    void end_request();
    void follow_to_the_end();
    [[noreturn]] void fail(const std::string& reason);

    CupsJobSettings m_settings;
    std::shared_ptr<const FontSource> m_fonts;
    std::unique_ptr<CupsConnection> m_connection;
    std::unique_ptr<CupsRequestOutput> m_output;
    std::unique_ptr<PdfStreamSink> m_document;
    int m_job_id = 0;
    std::optional<SignalDeferral> m_deferral; // while the job is sent
};

} // namespace kvalon
