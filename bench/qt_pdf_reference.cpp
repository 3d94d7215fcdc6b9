// The document the program made before it wrote its PDFs itself: a report
// planned and drawn exactly as `kvalon-p REPORT` does, each page painted by
// Qt's own PDF engine. Kept for comparison (scripts/run-bench.sh: CUPS's
// pdftopdf on this document against ours).
//
// Usage: kvalon_qt_pdf_reference REPORT.TXT OUT.PDF FONT.TTF
#include "engine/paper_codes.h"
#include "engine/plan_layout.h"
#include "engine/print_job.h"
#include "engine/printer_surface.h"
#include "engine/read_page.h"
#include "engine/units.h"
#include "printing/document_sink.h"
#include "printing/print_page.h"
#include "printing/qt/face_cache.h"
#include "printing/qt/painter_page.h"
#include "printing/qt/paper_sizes.h"
#include "printing/qt/qt_printer_surface.h"

#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include <cstdio>
#include <memory>

namespace kvalon {
namespace {

constexpr int kResolution = DrawingDpi;

class QtPdfWriterSink final : public DocumentSink {
public:
    QtPdfWriterSink(const QString& path, FaceCache& faces)
        : m_file(path), m_writer(&m_file), m_faces(faces) {}

    void begin(const DocumentInfo& info) override {
        m_file.open(QIODevice::WriteOnly);
        m_writer.setResolution(kResolution);
        m_writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        m_writer.setTitle(QString::fromStdString(info.title));
    }
    void add_page(const PageDescription& page) override {
        m_writer.setPageOrientation(page.landscape ? QPageLayout::Landscape
                                                   : QPageLayout::Portrait);
        if (m_painter.isActive()) {
            m_writer.newPage();
        } else {
            m_painter.begin(&m_writer);
        }
        draw_page(m_painter, page, kResolution, m_faces);
    }
    void finish() override {
        m_painter.end();
        m_file.close();
    }
    void abandon() noexcept override {}
    bool is_open() const override { return m_file.isOpen(); }

private:
    QFile m_file;
    QPdfWriter m_writer;
    QPainter m_painter;
    FaceCache& m_faces;
};

int print_report(const char* report, const char* out) {
    reset_job();
    PrintJob& j = job();
    j.ParamList = {report, "0", "8", ""};
    j.SourcePath = report;
    j.CommandLineJob = true;
    j.FontFace = "CourierCyr";
    auto faces = std::make_shared<FaceCache>();
    SurfaceSetup setup;
    setup.paper = page_size_for_code(PaperA4);
    setup.resolution = kResolution;
    QtPrinterSurface surface(setup, faces, std::make_unique<QtPdfWriterSink>(out, *faces));
    set_printer(&surface);
    plan_layout();
    while (!j.SourceDone) {
        read_page();
        print_page();
    }
    set_printer(nullptr);
    return 0;
}

} // namespace
} // namespace kvalon

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s REPORT OUT.pdf FONT.ttf\n", argv[0]);
        return 2;
    }
    QGuiApplication application(argc, argv);
    QFontDatabase::addApplicationFont(QString::fromLocal8Bit(argv[3]));
    return kvalon::print_report(argv[1], argv[2]);
}
