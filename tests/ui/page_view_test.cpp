#include "tests/ui/window_fixture.h"

#include "engine/print_job.h"
#include "tests/support/pdf_tools.h"
#include "ui/print_session.h"
#include "ui/qt/page_view.h"
#include "ui/qt/preview_window.h"

#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace kvalon::testing {
namespace {

constexpr int kDpi = 150;
constexpr int kDark = 128;

// A page with everything the printer draws: single and double frames, text,
// bold, shades and blocks.
const char* const kTable = "┌──────┬───────┐\r\n"
                           "│ Стока│ \x02Сума\x02  │\r\n"
                           "├──────┼───────┤\r\n"
                           "│ Оцет │  6,50 │\r\n"
                           "└──────┴───────┘\r\n"
                           "╔════╦═══╗\r\n"
                           "║ Да ║ ░▒▓█ ║\r\n"
                           "╚════╩═══╝\r\n";

class PageViewTest : public UiTest {
protected:
    void open_preview(const std::string& report) {
        ASSERT_TRUE(session().start(report));
        (new Form2(session()))->show();
    }
    PageView* view() { return control<PageView>("Form2", "pageView"); }
    // Prints the page on view and holds the PDF's first page to `shown`.
    void expect_printed_as_shown(const QImage& shown);
};

QImage grey(const QImage& image) {
    return image.convertToFormat(QImage::Format_Grayscale8);
}

int at(const GreyImage& image, int x, int y) {
    return x < image.width && y < image.height ? image.at(x, y) : 255;
}

int at(const QImage& image, int x, int y) {
    return x < image.width() && y < image.height() ? image.constScanLine(y)[x] : 255;
}

// The share of dark pixels of `a` that have a dark pixel of `b` within one
// pixel: frames and glyphs in the same places.
template <class A, class B> double covered(const A& a, const B& b, int width, int height) {
    long dark = 0;
    long matched = 0;
    for (int y = 1; y + 1 < height; ++y) {
        for (int x = 1; x + 1 < width; ++x) {
            if (at(a, x, y) >= kDark) {
                continue;
            }
            ++dark;
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy) {
                for (int dx = -1; dx <= 1 && !near; ++dx) {
                    near = at(b, x + dx, y + dy) < kDark;
                }
            }
            matched += near;
        }
    }
    return dark == 0 ? 0 : static_cast<double>(matched) / static_cast<double>(dark);
}

// Mean grey of each 12-pixel block: the shades have the same grey.
template <class A, class B> double blocks_alike(const A& a, const B& b, int width, int height) {
    constexpr int kBlock = 12;
    int blocks = 0;
    int alike = 0;
    for (int top = 0; top + kBlock <= height; top += kBlock) {
        for (int left = 0; left + kBlock <= width; left += kBlock) {
            double sum_a = 0;
            double sum_b = 0;
            for (int y = top; y < top + kBlock; ++y) {
                for (int x = left; x < left + kBlock; ++x) {
                    sum_a += at(a, x, y);
                    sum_b += at(b, x, y);
                }
            }
            ++blocks;
            alike += std::fabs(sum_a - sum_b) / (kBlock * kBlock) <= 40;
        }
    }
    return static_cast<double>(alike) / blocks;
}

void PageViewTest::expect_printed_as_shown(const QImage& shown) {
    QTest::mouseClick(control<QPushButton>("Form2", "Command2"), Qt::LeftButton);
    settle();
    const GreyImage printed = render_page(pdf(), 1, kDpi);
    ASSERT_LE(std::abs(printed.width - shown.width()), 1);
    ASSERT_LE(std::abs(printed.height - shown.height()), 1);
    const int width = std::min(printed.width, shown.width());
    const int height = std::min(printed.height, shown.height());
    EXPECT_GT(covered(shown, printed, width, height), 0.97);
    EXPECT_GT(covered(printed, shown, width, height), 0.97);
    EXPECT_GT(blocks_alike(shown, printed, width, height), 0.995);
}

// The page view draws the page on view as the printer prints it: the same
// page rendered from the view and from the PDF agrees pixel for pixel, within
// one pixel.
TEST_F(PageViewTest, PageOnViewAgreesWithThePrintedPdf) {
    const std::string report = dir.file("TABLE.TXT");
    write_bytes(report, to_mik(kTable));
    open_preview(report);
    ASSERT_TRUE(view()->has_page());
    const PageDescription& page = view()->page();
    EXPECT_TRUE(std::any_of(page.faces.begin(), page.faces.end(),
                            [](const PageFace& face) { return face.bold; }));
    const QImage shown = grey(view()->render(kDpi));

    // Drawing the view left the job and the printer as they were.
    const PrintJob before = job();
    PrinterSurface* bound = &printer();
    (void)session().page_as_printed();
    EXPECT_EQ(&printer(), bound);
    EXPECT_EQ(job().PageNumber, before.PageNumber);
    EXPECT_EQ(job().PageText, before.PageText);
    EXPECT_EQ(job().PrintText, before.PrintText);
    EXPECT_EQ(job().SourceDone, before.SourceDone);

    expect_printed_as_shown(shown);
}

// Dark pixels in the band of text that stands on `baseline_mm`.
template <class Image>
long dark_in_band(const Image& image, int width, int height, double baseline_mm) {
    const int bottom = static_cast<int>(baseline_mm * kDpi / 25.4);
    long dark = 0;
    for (int y = std::max(0, bottom - kDpi / 12); y < std::min(height, bottom + 2); ++y) {
        for (int x = 0; x < width; ++x) {
            dark += at(image, x, y) < kDark;
        }
    }
    return dark;
}

// Bold without a bold face is drawn twice a little apart, on paper and on
// screen alike: the bold line is as much darker than its plain twin in the
// view as on the printed page.
TEST_F(PageViewTest, BoldShowsAsPrinted) {
    const std::string report = dir.file("BOLD.TXT");
    write_bytes(report, to_mik("\x02ОПИС НА ДОСТАВКИТЕ\x02\r\nОПИС НА ДОСТАВКИТЕ\r\n"));
    open_preview(report);
    const PageDescription page = view()->page(); // the window goes when its page prints
    ASSERT_GE(page.runs.size(), 2u);             // and the footer
    const QImage shown = grey(view()->render(kDpi));
    QTest::mouseClick(control<QPushButton>("Form2", "Command2"), Qt::LeftButton);
    settle();
    const GreyImage printed = render_page(pdf(), 1, kDpi);
    const auto ratio = [&page](const auto& image, int width, int height) {
        return static_cast<double>(dark_in_band(image, width, height, page.runs[0].baseline)) /
               static_cast<double>(dark_in_band(image, width, height, page.runs[1].baseline));
    };
    const double on_paper = ratio(printed, printed.width, printed.height);
    const double on_screen = ratio(shown, shown.width(), shown.height());
    EXPECT_GT(on_paper, 1.15);
    EXPECT_NEAR(on_screen, on_paper, 0.1);
}

// In the ESC/P mode too: letters of every width and a picture of dots.
TEST_F(PageViewTest, EscpPageOnViewAgreesWithThePrintedPdf) {
    const std::string report = dir.file("LOGO.TXT");
    std::string dots = "\x1b"
                       "3\x18";
    for (int row = 0; row < 6; ++row) {
        dots += "\x1bL\x60";
        dots += std::string(1, '\0');
        for (int column = 0; column < 96; ++column) {
            dots += static_cast<char>(column / 8 % 2 == row % 2 ? 0xFF : 0x00);
        }
        dots += "\r\n";
    }
    write_bytes(report,
                "\x1bW1" + to_mik("Фактура") + "\x1bW0\r\n\x0f" + to_mik(kTable) + "\x12" + dots);
    job().Escp.emplace();
    open_preview(report);
    ASSERT_TRUE(view()->has_page());
    ASSERT_EQ(view()->page().images.size(), 1u);
    expect_printed_as_shown(grey(view()->render(kDpi)));
}
TEST_F(PageViewTest, ZoomShowsTheWholePageTheWidthOrRealSize) {
    open_preview(write_report("ONE.TXT", 3));
    QWidget* preview = window("Form2");
    preview->resize(1200, 800);
    settle();
    const QSize room = view()->maximumViewportSize();
    const double width_in = view()->page().width_mm / 25.4;
    const double height_in = view()->page().height_mm / 25.4;

    const double fit_page = view()->shown_dpi();
    EXPECT_LE(fit_page * height_in, room.height());
    EXPECT_LE(fit_page * width_in, room.width());
    // One side of the sheet fills the view, but for the grey margin.
    EXPECT_GT(std::max(fit_page * height_in - room.height(), fit_page * width_in - room.width()),
              -30);

    QTest::mouseClick(control<QToolButton>("Form2", "zoomFitWidth"), Qt::LeftButton);
    EXPECT_GT(view()->shown_dpi() * width_in, room.width() - 40);
    EXPECT_LE(view()->shown_dpi() * width_in, room.width());

    QTest::mouseClick(control<QToolButton>("Form2", "zoomActualSize"), Qt::LeftButton);
    EXPECT_EQ(view()->shown_dpi(), view()->logicalDpiX());
}

} // namespace
} // namespace kvalon::testing
