#pragma once

#include "printing/cups/queue_destination.h"
#include "printing/system_printers.h"

#include <string>
#include <vector>

namespace kvalon {

// The CUPS destinations of the current server (CUPS_SERVER is honoured);
// none when the service does not answer (printing/cups/cups_connection.h).
std::vector<std::string> cups_queue_names();

// The queue `settings` names, or the user's default destination (LPDEST,
// PRINTER, lpoptions, the server's default; the first queue when that names
// none), asked once, with `copies`. A queue is named by its exact name, an
// instance of it as "QUEUE/INSTANCE". No destination and a count of 0 when
// there is no queue at all. Throws KvalonError(Printer) when a named queue or
// instance does not exist, KvalonError(PrintServiceSilent) when the service
// does not answer.
PrinterChoice choose_queue(QueueSettings settings, int copies);

// The print service's queues as the system's printers.
const SystemPrinters& cups_printers();

} // namespace kvalon
