#include "printing/qt/printer_factory.h"

#include "engine/error.h"
#include "engine/messages.h"
#include "engine/units.h"
#include "printing/cups/cups_job_sink.h"
#include "printing/pdf/pdf_file_sink.h"
#include "printing/qt/face_cache.h"
#include "printing/qt/paper_sizes.h"
#include "printing/qt/qt_font_source.h"
#include "printing/qt/qt_printer_surface.h"

#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

namespace kvalon {

namespace {

std::unique_ptr<PrinterSurface> pdf_surface(const PrinterTarget& target) {
    SurfaceSetup setup;
    setup.paper = page_size_for_code(target.paper_code);
    setup.paper_code = target.paper_code;
    setup.resolution = DrawingDpi;
    setup.device_name = "PDF: " + target.pdf_path;
    setup.copies = target.copies;
    auto faces = std::make_shared<FaceCache>();
    auto sink =
        std::make_unique<PdfFileSink>(target.pdf_path, std::make_shared<const QtFontSource>());
    return std::make_unique<QtPrinterSurface>(setup, faces, std::move(sink));
}

// The queue's paper and resolution are read as Qt's print support sees them,
// so that a report is planned for a queue as it always was.
std::unique_ptr<PrinterSurface> queue_surface(const PrinterTarget& target) {
    const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(target.queue));
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    // Qt starts every queue on A4; the queue's own paper is what the user set
    // up, unless the job names another.
    QPageSize queue_paper = info.defaultPageSize();
    if (!target.media.empty()) {
        queue_paper = page_size_for_media(target.media);
        if (!queue_paper.isValid()) {
            throw KvalonError(ErrorKind::CommandLine, "media=" + target.media,
                              messages::kUnknownMedia);
        }
    }
    if (queue_paper.isValid()) {
        printer->setPageSize(queue_paper);
    }
    SurfaceSetup setup;
    setup.paper = printer->pageLayout().pageSize();
    setup.paper_code = code_for_page_size(setup.paper);
    setup.resolution = printer->resolution();
    setup.device_name = target.queue;
    setup.copies = target.copies;
    auto faces = std::make_shared<FaceCache>();
    CupsJobSettings settings{target.queue, target.job_options, target.job_wait_seconds,
                             target.signal_cancels_followed_job};
    auto sink =
        std::make_unique<CupsJobSink>(std::move(settings), std::make_shared<const QtFontSource>());
    return std::make_unique<QtPrinterSurface>(setup, faces, std::move(sink));
}

} // namespace

std::unique_ptr<PrinterSurface> make_printer_surface(const PrinterTarget& target) {
    return target.kind == PrinterTarget::Kind::Pdf ? pdf_surface(target) : queue_surface(target);
}

} // namespace kvalon
