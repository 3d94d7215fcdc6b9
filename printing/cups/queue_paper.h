#pragma once

#include "printing/paper_sizes.h"

#include <string>

namespace kvalon {

// The paper a CUPS queue prints on unless a job names another: the user's
// or the system's option for the destination (lpoptions media or PageSize),
// else the queue's own default. No paper when the print service does not say
// (a raw queue, a service that stopped answering).
PaperSize queue_default_paper(const std::string& queue);

} // namespace kvalon
