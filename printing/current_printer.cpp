#include "printing/printer_surface.h"

#include "engine/error.h"

namespace kvalon {

namespace {
PrinterSurface* current_surface = nullptr;
}

PrinterSurface& printer() {
    if (current_surface == nullptr) {
        throw KvalonError(ErrorKind::Printer, "");
    }
    return *current_surface;
}

bool has_printer() { return current_surface != nullptr; }

void set_printer(PrinterSurface* surface) { current_surface = surface; }

} // namespace kvalon
