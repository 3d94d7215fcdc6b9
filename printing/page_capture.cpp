#include "printing/page_capture.h"

#include "engine/printer_surface.h"
#include "engine/units.h"
#include "printing/font_file_faces.h"
#include "printing/page_capture_sink.h"
#include "printing/page_surface.h"
#include "printing/paper_sizes.h"
#include "printing/program_font.h"

#include <memory>

namespace kvalon {

namespace {

std::unique_ptr<PageSurface> surface_like(const PrinterSurface& bound,
                                          std::unique_ptr<DocumentSink> sink,
                                          std::optional<int> copies = std::nullopt) {
    if (const auto* pages = dynamic_cast<const PageSurface*>(&bound)) {
        SurfaceSetup setup = pages->setup();
        setup.copies = copies.value_or(setup.copies);
        return std::make_unique<PageSurface>(setup, pages->faces(), std::move(sink));
    }
    SurfaceSetup setup;
    setup.copies = copies.value_or(1);
    setup.paper = paper_for_code(bound.paper_size());
    setup.paper_code = bound.paper_size();
    setup.resolution = DrawingDpi;
    setup.device_name = bound.device_name();
    return std::make_unique<PageSurface>(setup, program_faces(), std::move(sink));
}

} // namespace

std::unique_ptr<PrinterSurface> surface_like_printer(std::unique_ptr<DocumentSink> sink,
                                                     std::optional<int> copies) {
    return surface_like(printer(), std::move(sink), copies);
}

std::vector<PageDescription> capture_pages(const std::function<void()>& draw) {
    PrinterSurface& bound = printer();
    auto sink = std::make_unique<PageCaptureSink>();
    PageCaptureSink& pages = *sink;
    const std::unique_ptr<PageSurface> capture = surface_like(bound, std::move(sink));
    {
        const ScopedPrinter bound_for_capture(*capture);
        draw();
        capture->finish_document();
    }
    return pages.take();
}

} // namespace kvalon
