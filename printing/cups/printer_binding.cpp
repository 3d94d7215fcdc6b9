#include "printing/cups/printer_binding.h"

#include "printing/cups/printer_factory.h"

namespace kvalon {

PrinterBinding::~PrinterBinding() {
    if (m_surface && has_printer() && &printer() == m_surface.get()) {
        set_printer(nullptr);
    }
}

void PrinterBinding::bind(const PrinterTarget& target) {
    std::unique_ptr<PrinterSurface> surface = make_printer_surface(target);
    set_printer(surface.get());
    m_surface = std::move(surface);
    m_target = target;
}

} // namespace kvalon
