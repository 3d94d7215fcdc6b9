#pragma once

#include "printing/spooler/spooler_api.h"

#include <memory>

namespace kvalon {

// A GDI document on a spooler printer, its DEVMODE set from `request`.
// Throws KvalonError(Printer) when the printer gives no context or no document.
std::unique_ptr<SpoolerDocument> start_gdi_document(const SpoolerDocumentRequest& request);

} // namespace kvalon
