#pragma once

#include "printing/paper_sizes.h"

#include <string>

namespace kvalon {

// The paper a CUPS destination ("QUEUE" or "QUEUE/INSTANCE") is planned on
// unless a job names another: the user's or the system's option for it
// (lpoptions media or PageSize), else the queue's own default sheet, found by
// its size in points as the queue's PPD gives it. No paper when the print
// service does not say (a raw queue, a service that stopped answering).
//
// Planning asks only this, in two short questions (DestinationInfo reads the
// destination's whole description, which a job needs for its options): a
// DOS caller's plan call for a queue pays no more.
PaperSize queue_default_paper(const std::string& destination);

// The queue's default paper and whether it has an A4 sheet at all (a queue
// that does not list its sheets is taken to have one).
struct QueuePaper {
    PaperSize paper;
    bool takes_a4 = true;
};
QueuePaper queue_paper(const std::string& destination);

} // namespace kvalon
