// The figures the program plans with come from our font file and our paper
// table; before, Qt's font system and page sizes gave them. Both sources must
// agree to the last bit, or a plan a DOS caller relies on would change. Kept
// as long as the windows draw with Qt's faces.
#include "engine/code_page.h"
#include "engine/plan_layout.h"
#include "engine/print_job.h"
#include "engine/printer_surface.h"
#include "engine/source_file.h"
#include "printing/font_file_faces.h"
#include "printing/page_capture_sink.h"
#include "printing/page_surface.h"
#include "printing/paper_sizes.h"
#include "printing/qt/face_cache.h"
#include "printing/standard_papers.h"
#include "tests/printing/pdf_test_document.h"
#include "tests/support/test_files.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace kvalon {
namespace {

// Never destroyed: at exit it would unregister the font after Qt's own
// per-thread storage is gone.
void start_qt_with_our_font() {
    static int argc = 1;
    static char name[] = "metric_sources_test";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* const app = new QGuiApplication(argc, argv);
    static const int font =
        QFontDatabase::addApplicationFont(QString::fromStdString(testing::font_file()));
    (void)app;
    ASSERT_GE(font, 0);
}

int pixel_size(int points, int dpi) {
    return static_cast<int>(std::lround(points * dpi / 72.0));
}

std::vector<char32_t> printed_code_points() {
    std::vector<char32_t> code_points;
    for (char32_t c = 0x20; c < 0x7f; ++c) {
        code_points.push_back(c);
    }
    // The upper half of every code page a report may be written in.
    std::set<char32_t> upper;
    for (std::size_t page = 0; page < kCodePageCount; ++page) {
        for (int code = 128; code < 256; ++code) {
            upper.insert(
                character_of(static_cast<CodePageId>(page), static_cast<unsigned char>(code)));
        }
    }
    code_points.insert(code_points.end(), upper.begin(), upper.end());
    code_points.push_back(U'\u4E00'); // one the font lacks: its missing glyph
    return code_points;
}

TEST(MetricSources, EveryFigureAgreesAtEverySizeAndResolution) {
    start_qt_with_our_font();
    FaceCache qt;
    FontFileFaces file({testing::font_file()});
    const std::vector<char32_t> code_points = printed_code_points();
    for (const int dpi : {300, 600, 1200}) {
        for (int points = 6; points <= 13; ++points) {
            for (const bool bold : {false, true}) {
                const int px = pixel_size(points, dpi);
                FaceMetrics& expected = qt.face("CourierCyr", px, bold);
                FaceMetrics& measured = file.face("CourierCyr", px, bold);
                const std::string where =
                    std::to_string(points) + " pt at " + std::to_string(dpi) + " dpi";
                ASSERT_EQ(measured.ascent_px(), expected.ascent_px()) << where;
                ASSERT_EQ(measured.line_spacing_px(), expected.line_spacing_px()) << where;
                for (const char32_t c : code_points) {
                    ASSERT_EQ(measured.advance_px(c), expected.advance_px(c))
                        << where << " U+" << std::hex << static_cast<unsigned>(c);
                }
            }
        }
    }
}

struct PlanFigures {
    std::string paper_name;
    double width_mm, height_mm;
    int font_size, chars, lines, indent;
    std::string orientation;
    float char_width, line_height;
    double pages;
    bool operator==(const PlanFigures&) const = default;
};

std::ostream& operator<<(std::ostream& out, const PlanFigures& f) {
    return out << f.paper_name << " " << f.width_mm << "x" << f.height_mm << " " << f.font_size
               << f.orientation << " " << f.chars << "/" << f.lines << " +" << f.indent << " "
               << f.char_width << " " << f.line_height << " " << f.pages;
}

PlanFigures plan_with(const std::shared_ptr<FaceSource>& faces, int code, int dpi,
                      const std::string& report, const std::string& size_word) {
    SurfaceSetup setup;
    setup.paper = paper_for_code(code);
    setup.paper_code = code;
    setup.resolution = dpi;
    PageSurface surface(setup, faces, std::make_unique<PageCaptureSink>());
    reset_job();
    PrintJob& j = job();
    j.FontFace = "CourierCyr";
    j.ParamList = {report, "0", size_word, ""};
    j.SourcePath = report;
    set_printer(&surface);
    plan_layout();
    set_printer(nullptr);
    source_file().close();
    return {j.PaperName,    j.PaperWidthMm, j.PaperHeightMm, j.FontSize,
            j.CharsPerLine, j.LinesPerPage, j.LeftIndent,    j.Orientation,
            j.CharWidth,    j.LineHeight,   j.PageCount};
}

// Every paper the PDF printer takes, at the PDF printer's resolution and a
// queue's, with reports that end in each orientation and size.
TEST(MetricSources, PlansAgreeOnEveryPaper) {
    start_qt_with_our_font();
    const auto qt = std::make_shared<FaceCache>();
    const auto file = std::make_shared<FontFileFaces>(std::vector{testing::font_file()});
    testing::TempDir dir;
    std::vector<std::string> reports;
    for (const std::size_t longest : {30u, 96u, 132u, 250u}) {
        reports.push_back(dir.file("r" + std::to_string(longest) + ".txt"));
        std::string text;
        for (int line = 0; line < 70; ++line) {
            text += std::string(1 + static_cast<std::size_t>(line) % longest, 'x') + "\r\n";
        }
        testing::write_bytes(reports.back(), text + std::string(longest, 'y') + "\r\n");
    }
    for (int code = 1; code <= 41; ++code) {
        for (const int dpi : {600, 1200}) {
            for (const std::string& report : reports) {
                for (const char* size_word : {"6", "8", "10", "13"}) {
                    EXPECT_EQ(plan_with(file, code, dpi, report, size_word),
                              plan_with(qt, code, dpi, report, size_word))
                        << "paper " << code << ", " << dpi << " dpi, " << report << ", "
                        << size_word;
                }
            }
        }
    }
    reset_job();
}

void expect_same_sheet(const PaperSize& ours, const QPageSize& qts, const std::string& where) {
    ASSERT_TRUE(qts.isValid()) << where;
    ASSERT_TRUE(ours.is_valid()) << where;
    const QPageLayout layout(qts, QPageLayout::Portrait, QMarginsF());
    const QRectF mm = layout.fullRect(QPageLayout::Millimeter);
    EXPECT_EQ(ours.width_mm, mm.width()) << where;
    EXPECT_EQ(ours.height_mm, mm.height()) << where;
    EXPECT_EQ(ours.width_points, layout.fullRectPoints().width()) << where;
    EXPECT_EQ(ours.height_points, layout.fullRectPoints().height()) << where;
    EXPECT_EQ(ours.windows_code, qts.windowsId()) << where;
}

TEST(PaperTable, EveryCodeAndSheetIsQtsOwn) {
    start_qt_with_our_font();
    for (int code = 0; code <= 300; ++code) {
        const QPageSize::PageSizeId id = QPageSize::id(code);
        const PaperSize ours = paper_for_code(code);
        if (code == 14) {
            expect_same_sheet(ours,
                              QPageSize(QSizeF(215.9, 330.2), QPageSize::Millimeter, QString(),
                                        QPageSize::ExactMatch),
                              "code 14");
        } else if (id == QPageSize::Custom) {
            EXPECT_FALSE(ours.is_valid()) << "code " << code;
        } else {
            expect_same_sheet(ours, QPageSize(id), "code " + std::to_string(code));
            EXPECT_EQ(code_for_paper(ours),
                      QPageSize(id).windowsId() > 0 ? QPageSize(id).windowsId() : 256);
        }
    }
    for (const StandardPaper& paper : standard_papers()) {
        if (*paper.key != '\0') {
            const PaperSize ours = paper_for_media(paper.key);
            EXPECT_EQ(ours.key, paper.key);
            for (int id = 0; id <= QPageSize::LastPageSize; ++id) {
                const QPageSize qts(static_cast<QPageSize::PageSizeId>(id));
                if (qts.key() == QLatin1String(paper.key)) {
                    expect_same_sheet(ours, qts, paper.key);
                    EXPECT_EQ(ours.width_inches, qts.size(QPageSize::Inch).width()) << paper.key;
                    EXPECT_EQ(ours.height_inches, qts.size(QPageSize::Inch).height()) << paper.key;
                }
            }
        }
    }
}

} // namespace
} // namespace kvalon
