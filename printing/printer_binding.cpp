#include "printing/printer_binding.h"

#include "printing/font_file_faces.h"
#include "printing/page_surface.h"
#include "printing/program_font.h"

namespace kvalon {

std::unique_ptr<PrinterSurface> make_printer_surface(std::shared_ptr<const Destination> destination,
                                                     SheetOffset offset) {
    SurfaceSetup setup = destination->surface_setup();
    setup.offset = offset;
    setup.describe_job = [destination](const DocumentInfo& info, const PageDescription& sheet) {
        return destination->describe_job(info, sheet);
    };
    return std::make_unique<PageSurface>(setup, program_faces(), destination->make_page_sink());
}

PrinterBinding::~PrinterBinding() {
    if (m_surface && has_printer() && &printer() == m_surface.get()) {
        set_printer(nullptr);
    }
}

void PrinterBinding::bind(std::shared_ptr<const Destination> destination, SheetOffset offset) {
    std::unique_ptr<PrinterSurface> surface = make_printer_surface(destination, offset);
    set_printer(surface.get());
    m_surface = std::move(surface);
    m_destination = std::move(destination);
}

} // namespace kvalon
