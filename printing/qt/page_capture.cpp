#include "printing/qt/page_capture.h"

#include "engine/printer_surface.h"
#include "engine/units.h"
#include "printing/page_capture_sink.h"
#include "printing/qt/face_cache.h"
#include "printing/qt/paper_sizes.h"
#include "printing/qt/qt_printer_surface.h"

#include <memory>

namespace kvalon {

namespace {

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

std::unique_ptr<QtPrinterSurface> surface_like(const PrinterSurface& bound,
                                               std::unique_ptr<PageCaptureSink> sink) {
    if (const auto* qt = dynamic_cast<const QtPrinterSurface*>(&bound)) {
        return std::make_unique<QtPrinterSurface>(qt->setup(), qt->faces(), std::move(sink));
    }
    SurfaceSetup setup;
    setup.paper = page_size_for_code(bound.paper_size());
    setup.paper_code = bound.paper_size();
    setup.resolution = DrawingDpi;
    setup.device_name = bound.device_name();
    return std::make_unique<QtPrinterSurface>(setup, std::make_shared<FaceCache>(),
                                              std::move(sink));
}

} // namespace

std::vector<PageDescription> capture_pages(const std::function<void()>& draw) {
    PrinterSurface& bound = printer();
    auto sink = std::make_unique<PageCaptureSink>();
    PageCaptureSink& pages = *sink;
    const std::unique_ptr<QtPrinterSurface> capture = surface_like(bound, std::move(sink));
    {
        const BoundBack bound_back(bound);
        set_printer(capture.get());
        draw();
        capture->finish_document();
    }
    return pages.take();
}

} // namespace kvalon
