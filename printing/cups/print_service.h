#pragma once

#include "printing/cups/cups_job_check.h"
#include "printing/cups/job_options.h"
#include "printing/job_option.h"
#include "printing/sheet_placement.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace kvalon {

class ByteOutput;
struct CupsJobSettings;

// What a job on a destination is sent with, and where its pages may print.
struct JobTerms {
    // What `lp` would send there, the client's options on top and the
    // program's own over all (printing/cups/job_options.h).
    JobOptions options;
    // Of the job's paper, when the destination lists that paper.
    std::optional<MediaMargins> margins;
};

// One job's request, on a connection of its own: the job made, its one
// document opened, the document's bytes, the end of the request and the
// service's answer to it.
class JobRequest {
public:
    virtual ~JobRequest() = default;

    // Makes the job; its id, or 0 when the service refused (refusal() says why).
    virtual int create_job(const std::string& title, const JobOptions& options) = 0;
    // Opens the job's one document, of `format`; false when refused.
    virtual bool start_document(const std::string& title, const char* format) = 0;
    // Why the last step was refused, in the user's words.
    virtual std::string refusal() const = 0;
    // Where the document's bytes go. Throws KvalonError(Printer) naming the
    // queue, with the service's reason, when the service takes no more.
    virtual ByteOutput& document() = 0;
    // The last bytes of the document and the end of the request leave our
    // buffers, without waiting for the answer; false when they could not.
    virtual bool hand_over() = 0;
    // The service's answer to the whole request: nothing when none came in
    // time; else empty when it took the document, or why it refused it.
    virtual std::optional<std::string> answer() = 0;
};

// What a CUPS job sink asks of the print service: libcups's service
// (cups_print_service()) in the program, a fake in tests. Every question gives
// up when the service does not answer in time.
class PrintService {
public:
    virtual ~PrintService() = default;

    // Why `queue` cannot take a job now (missing, stopped, refusing jobs, or
    // no service answering); nothing when it can.
    virtual std::optional<std::string> queue_refusal(const std::string& queue) = 0;
    // The terms of a job sent with `settings` and the program's `own`. Throws
    // KvalonError(Printer) naming a destination that does not exist,
    // KvalonError(PrintServiceSilent) when the service does not answer.
    virtual JobTerms job_terms(const CupsJobSettings& settings, const OwnJobSettings& own) = 0;
    // The same terms, of their options only those a person wants to see
    // (notable_options), read afresh. Throws as job_terms().
    virtual JobTerms shown_terms(const CupsJobSettings& settings, const OwnJobSettings& own) = 0;
    // A request for a job on `queue` (without its instance). Throws
    // KvalonError(PrintServiceSilent) when no connection can be made.
    virtual std::unique_ptr<JobRequest> open_request(const std::string& queue) = 0;
    // Follows a job handed over whole (printing/cups/cups_job_check.h).
    virtual JobOutcome follow_job(const std::string& queue, int job_id,
                                  std::chrono::steady_clock::time_point deadline,
                                  const std::function<bool(const JobLook&)>& on_look,
                                  bool paused_queue_waits) = 0;
    // Cancels a job on a connection of its own; true when the service answered.
    virtual bool cancel_job(const std::string& queue, int job_id) noexcept = 0;
};

// libcups's print service (CUPS_SERVER honoured), shared by the whole process.
std::shared_ptr<PrintService> cups_print_service();

} // namespace kvalon
