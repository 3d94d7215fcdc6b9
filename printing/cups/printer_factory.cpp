#include "printing/cups/printer_factory.h"

#include "engine/error.h"
#include "engine/messages.h"
#include "engine/units.h"
#include "printing/cups/cups_job_sink.h"
#include "printing/cups/queue_paper.h"
#include "printing/font_file_faces.h"
#include "printing/page_surface.h"
#include "printing/paper_sizes.h"
#include "printing/pdf/face_file_font_source.h"
#include "printing/pdf/pdf_file_sink.h"
#include "printing/program_font.h"

namespace kvalon {

namespace {

// The device pixels of a queue's pages: fonts are set in whole pixels of
// 1/1200 inch, whatever the printer's own resolution, as queues have always
// been planned.
constexpr int kQueueResolution = 1200;

std::unique_ptr<PrinterSurface> pdf_surface(const PrinterTarget& target) {
    SurfaceSetup setup;
    setup.paper = paper_for_code(target.paper_code);
    setup.paper_code = target.paper_code;
    setup.resolution = DrawingDpi;
    setup.device_name = "PDF: " + target.pdf_path;
    setup.copies = target.copies;
    return std::make_unique<PageSurface>(setup, program_faces(),
                                         make_pdf_file_sink(target.pdf_path));
}

// A queue starts on A4 unless the job or the queue names its paper.
std::unique_ptr<PrinterSurface> queue_surface(const PrinterTarget& target) {
    PaperSize paper;
    if (!target.media.empty()) {
        paper = paper_for_media(target.media);
        if (!paper.is_valid()) {
            throw KvalonError(ErrorKind::CommandLine, "media=" + target.media,
                              messages::kUnknownMedia);
        }
    } else {
        paper = queue_default_paper(target.queue);
    }
    if (!paper.is_valid()) {
        paper = paper_for_code(PaperA4);
    }
    SurfaceSetup setup;
    setup.paper = paper;
    setup.paper_code = code_for_paper(paper);
    setup.resolution = kQueueResolution;
    setup.device_name = target.queue;
    setup.copies = target.copies;
    const std::shared_ptr<FontFileFaces> faces = program_faces();
    CupsJobSettings settings{target.queue,
                             target.job_options,
                             target.job_wait_seconds,
                             target.signal_cancels_followed_job,
                             {},
                             target.destination};
    auto sink = std::make_unique<CupsJobSink>(std::move(settings),
                                              std::make_shared<const FaceFileFontSource>(faces));
    return std::make_unique<PageSurface>(setup, faces, std::move(sink));
}

} // namespace

std::unique_ptr<DocumentSink> make_pdf_file_sink(const std::string& path) {
    return std::make_unique<PdfFileSink>(
        path, std::make_shared<const FaceFileFontSource>(program_faces()));
}

std::unique_ptr<PrinterSurface> make_printer_surface(const PrinterTarget& target) {
    return target.kind == PrinterTarget::Kind::Pdf ? pdf_surface(target) : queue_surface(target);
}

} // namespace kvalon
