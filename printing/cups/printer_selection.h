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
    std::shared_ptr<const DestinationInfo> destination; // read already; null: when needed
    int copies = 1;
    int job_wait_seconds = kJobWaitSeconds;   // how long a CUPS job is followed (KVALON_JOB_WAIT)
    bool signal_cancels_followed_job = false; // see PrinterTarget
};

// The CUPS destinations of the current server (CUPS_SERVER is honoured);
// none when the service does not answer (printing/cups/cups_connection.h).
std::vector<std::string> cups_queue_names();
// The printers there are and the one that prints, asked once: the PDF
// printer (1 printer; the print service is not asked), the named queue, or
// the user's default destination (LPDEST, PRINTER, lpoptions, the server's
// default; the first queue when that names none). A queue is named by its
// exact name, an instance of it as "QUEUE/INSTANCE". No target and a count of
// 0 when there is no printer at all. Throws KvalonError(Printer) when a named
// queue or instance does not exist, KvalonError(PrintServiceSilent) when the
// service does not answer.
struct PrinterChoice {
    int printer_count = 0;
    std::optional<PrinterTarget> target;
};
PrinterChoice choose_printer(const PrinterRequest& request);

} // namespace kvalon
