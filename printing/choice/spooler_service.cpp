#include "printing/choice/printer_choice.h"

#include "printing/spooler/spooler_printers.h"

namespace kvalon {

// The one place that says which print service this system has.
const SystemPrinters& system_printers() {
    return spooler_printers();
}

} // namespace kvalon
