#include "engine/printer_surface.h"

#include <stdexcept>

namespace kvalon {

namespace {
PrinterSurface* current_surface = nullptr;
}

PrinterSurface& printer() {
    if (current_surface == nullptr) {
        throw std::logic_error("no printer surface is bound");
    }
    return *current_surface;
}

bool has_printer() {
    return current_surface != nullptr;
}

void set_printer(PrinterSurface* surface) {
    current_surface = surface;
}

} // namespace kvalon
