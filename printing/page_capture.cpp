#include "printing/page_capture.h"

#include "engine/printer_surface.h"
#include "printing/font_file_faces.h"
#include "printing/page_capture_sink.h"
#include "printing/page_surface.h"
#include "printing/paper_sizes.h"
#include "printing/program_font.h"

#include <memory>

namespace kvalon {

namespace {

constexpr int kFallbackResolution = 600;

// Puts the printer it found back when the capture ends, however it ends.
class BoundBack {
public:
    explicit BoundBack(PrinterSurface& bound) : m_bound(bound) {}
    ~BoundBack() { set_printer(&m_bound); }
    BoundBack(const BoundBack&) = delete;
    BoundBack& operator=(const BoundBack&) = delete;

private:
    PrinterSurface& m_bound;
};

std::unique_ptr<PageSurface> surface_like(const PrinterSurface& bound,
                                          std::unique_ptr<PageCaptureSink> sink) {
    if (const auto* pages = dynamic_cast<const PageSurface*>(&bound)) {
        return std::make_unique<PageSurface>(pages->setup(), pages->faces(), std::move(sink));
    }
    SurfaceSetup setup;
    setup.paper = paper_for_code(bound.paper_size());
    setup.paper_code = bound.paper_size();
    setup.resolution = kFallbackResolution;
    setup.device_name = bound.device_name();
    return std::make_unique<PageSurface>(setup, program_faces(), std::move(sink));
}

} // namespace

std::vector<PageDescription> capture_pages(const std::function<void()>& draw) {
    PrinterSurface& bound = printer();
    auto sink = std::make_unique<PageCaptureSink>();
    PageCaptureSink& pages = *sink;
    const std::unique_ptr<PageSurface> capture = surface_like(bound, std::move(sink));
    {
        const BoundBack bound_back(bound);
        set_printer(capture.get());
        draw();
        capture->finish_document();
    }
    return pages.take();
}

} // namespace kvalon
