#pragma once

#include "printing/spooler/spooler_api.h"
#include "printing/system_printers.h"

#include <memory>

namespace kvalon {

// The printers of the Windows spooler: their names, the user's default one,
// each a SpoolerDestination.
const SystemPrinters& spooler_printers();

// The same over another spooler (a fake in tests).
std::unique_ptr<SystemPrinters> spooler_printers_on(std::shared_ptr<const SpoolerApi> spooler);

} // namespace kvalon
