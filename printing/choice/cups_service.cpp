#include "printing/choice/printer_choice.h"

#include "printing/cups/queue_list.h"

namespace kvalon {

// The one place that says which print service this system has.
const SystemPrinters& system_printers() {
    return cups_printers();
}

} // namespace kvalon
