#pragma once

#include "printing/system_printers.h"

namespace kvalon {

// The printers of the Windows spooler: their names and the user's default
// one. Printing on them is still to come: choosing one tells so.
const SystemPrinters& spooler_printers();

} // namespace kvalon
