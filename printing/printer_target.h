#pragma once

#include "engine/paper_codes.h"
#include "engine/print_service_waits.h"
#include "printing/job_option.h"

#include <string>

namespace kvalon {

// Copies of one job: at least one, at most as many as the print service
// itself takes (CUPS's own bound), whoever asks for them.
inline constexpr int kMostCopies = 9999;

// Where documents go: a CUPS queue, or the built-in PDF printer writing a file.
struct PrinterTarget {
    enum class Kind { Cups, Pdf };
    Kind kind = Kind::Pdf;
    std::string queue;        // CUPS destination: "QUEUE" or "QUEUE/INSTANCE"
    std::string pdf_path;     // output file of the PDF printer
    int paper_code = PaperA4; // Windows paper code of the PDF printer
    // The paper a CUPS queue is planned on ("A5", "iso_a5_148x210mm"); empty: the queue's own.
    std::string media{};
    JobOptions job_options{}; // a CUPS job's options asked by whoever sent the report
    int copies = 1;
    int job_wait_seconds = kJobWaitSeconds; // how long a CUPS job is followed to its end
    // An ending signal cancels a CUPS job also while it is followed (the
    // print-server backend; see CupsJobSettings).
    bool signal_cancels_followed_job = false;
};

} // namespace kvalon
