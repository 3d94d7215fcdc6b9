#pragma once

#include "engine/paper_codes.h"
#include "engine/print_service_waits.h"
#include "printing/destination.h"

#include <memory>
#include <string>
#include <vector>

namespace kvalon {

// Another time than kPrintServiceSeconds for the connections to the print
// service made from now on (KVALON_SERVICE_WAIT; at least one second).
void set_print_service_wait(int seconds);

// What the user asked for: a printer of the system's print service by name,
// or the built-in PDF printer (a file path and a Windows paper code). Empty
// fields mean the system default.
struct PrinterRequest {
    std::string printer;
    std::string pdf_path;
    int paper_code = PaperA4;
    int copies = 1;
    int job_wait_seconds = kJobWaitSeconds; // how long a job is followed (KVALON_JOB_WAIT)
};

// The printers there are and the one that prints: no destination and a count
// of 0 when there is no printer at all.
struct PrinterChoice {
    int printer_count = 0;
    std::shared_ptr<const Destination> destination;
};

// The printers of the system's print service (CUPS here; the spooler on
// Windows), for the choice at start and the windows' printer menu.
class SystemPrinters {
public:
    virtual ~SystemPrinters() = default;

    // Its printers by name as the user picks them; none when the service
    // does not answer.
    virtual std::vector<std::string> names() const = 0;
    // The printer `request` names, or the user's default one, asked once.
    // Throws KvalonError(Printer) for a named printer that does not exist,
    // KvalonError(PrintServiceSilent) when the service does not answer.
    virtual PrinterChoice choose(const PrinterRequest& request) const = 0;
    // The printer `name` picked in the windows, with the copies of `bound`.
    virtual std::shared_ptr<const Destination> picked(const Destination* bound,
                                                      const std::string& name) const = 0;
    // The printer the windows remembered, when the service still offers it;
    // null otherwise, also for a printer of another kind.
    virtual std::shared_ptr<const Destination>
    restore(const RememberedPrinter& remembered) const = 0;
};

} // namespace kvalon
