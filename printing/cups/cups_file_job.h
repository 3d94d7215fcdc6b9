#pragma once

#include "printing/cups/cups_job_sink.h"
#include "printing/document_sink.h"

#include <string>

namespace kvalon {

// Sends the finished PDF document at `pdf_path` to `settings.queue` as one
// job, with the title, the copies and the paper as the job's attributes, and
// returns the job's id once the print service holds the whole document; the
// job is not followed. The queue is asked first (a stopped, refusing or
// missing queue fails at once). A job made but not sent whole is cancelled,
// so nothing of it prints. Throws KvalonError: Printer naming the queue with
// the reason, PrintServiceSilent, or File naming the document.
//
// Every call talks to the print service on a connection of its own, so it
// may run on a thread of its own.
int send_finished_document(const CupsJobSettings& settings, const DocumentInfo& info,
                           const std::string& pdf_path);

} // namespace kvalon
