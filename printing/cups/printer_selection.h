#pragma once

#include "engine/paper_codes.h"
#include "engine/print_service_waits.h"
#include "printing/printer_target.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kvalon {

// What the user asked for: a CUPS queue by name, or the built-in PDF printer
// (a file path and a Windows paper code). Empty fields mean the system default.
struct PrinterRequest {
    std::string queue;
    std::string pdf_path;
    int paper_code = PaperA4;
    std::string media;      // paper for a queue, as CUPS names it; empty means the queue's own
    JobOptions job_options; // a queue's job options asked by whoever sent the report
    int copies = 1;
    int job_wait_seconds = kJobWaitSeconds;   // how long a CUPS job is followed (KVALON_JOB_WAIT)
    bool signal_cancels_followed_job = false; // see PrinterTarget
};

// The CUPS destinations of the current server (CUPS_SERVER is honoured);
// none when the service does not answer (printing/cups/cups_connection.h).
std::vector<std::string> cups_queue_names();
// Installed printers: the CUPS destinations, or 1 when the PDF printer is asked
// for (the print service is then not asked). Throws
// KvalonError(PrintServiceSilent) when the print service does not answer.
int installed_printer_count(const PrinterRequest& request);

// Where the document goes; throws KvalonError(Printer) when a named queue (or
// the instance "QUEUE/INSTANCE" names) does not exist, KvalonError(PrintServiceSilent) when the
// service does not answer, and nothing when there is no printer at all (empty result).
std::optional<PrinterTarget> choose_target(const PrinterRequest& request);

} // namespace kvalon
