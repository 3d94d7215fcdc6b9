#include "tests/ui/window_fixture.h"

#include "engine/filter_text.h"
#include "engine/plan_layout.h"
#include "engine/print_job.h"
#include "engine/source_file.h"
#include "tests/support/pdf_tools.h"
#include "ui/form2.h"
#include "ui/twips.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <algorithm>

namespace kvalon::testing {
namespace {

const std::string kFooterWord = "фактуриране";

// The preview opened on a freshly planned report, as the menu opens it.
class PreviewWindow : public UiTest {
protected:
    void open_preview(const std::string& report) {
        job().SourcePath = report;
        plan_layout();
        auto* preview = new Form2;
        preview->show();
    }
    QPushButton* next() { return control<QPushButton>("Form2", "Command1"); }
    QPushButton* print() { return control<QPushButton>("Form2", "Command2"); }
    QPlainTextEdit* text() { return control<QPlainTextEdit>("Form2", "Text1"); }
    void click(QPushButton* button) {
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
        settle();
    }
};

struct Step {
    std::string next_caption;
    std::string print_caption;
    std::string first_line;
};

TEST_F(PreviewWindow, SteppingThreePagesShowsEachWithItsCaptionsThenCloses) {
    const int per_page = lines_per_page();
    open_preview(write_report("THREE.TXT", 2 * per_page + 1));
    auto line = [](int n) { return line_label(n); };
    const Step steps[] = {
        {"Следваща стр.", "Печат стр. 1/3", line(1)},
        {"Следваща стр.", "Печат стр. 2/3", line(per_page + 1)},
        {"Край на печата", "Печат стр. 3/3", line(2 * per_page + 1)},
    };
    for (const Step& step : steps) {
        ASSERT_NE(window("Form2"), nullptr) << step.print_caption;
        EXPECT_EQ(next()->text().toStdString(), step.next_caption);
        EXPECT_EQ(print()->text().toStdString(), step.print_caption);
        EXPECT_TRUE(print()->isVisible());
        const QString shown = text()->toPlainText();
        EXPECT_TRUE(shown.startsWith(QStringLiteral("\n\n")));
        EXPECT_EQ(shown.mid(2).trimmed().section(QLatin1Char('\n'), 0, 0).toStdString(),
                  step.first_line);
        click(next());
    }
    EXPECT_EQ(window("Form2"), nullptr);
    EXPECT_FALSE(file_exists(pdf())); // stepping prints nothing
}

TEST_F(PreviewWindow, PrintingPagesOneAndThreeGivesOneDocumentWithTheFooterAtTheEnd) {
    const int per_page = lines_per_page();
    open_preview(write_report("THREE.TXT", 2 * per_page + 1));
    click(print()); // page 1, then page 2 is shown
    click(next());  // page 3
    click(print()); // the last page: footer, end of the document, and the window closes
    EXPECT_EQ(window("Form2"), nullptr);

    ASSERT_EQ(pdf_pages(pdf()), 2);
    const std::string first = page_text(pdf(), 1);
    const std::string second = page_text(pdf(), 2);
    EXPECT_NE(first.find("Ред 001"), std::string::npos);
    EXPECT_EQ(first.find(kFooterWord), std::string::npos);
    EXPECT_EQ(second.find("Ред 002"), std::string::npos);
    EXPECT_NE(second.find(line_label(2 * per_page + 1)), std::string::npos) << second;

    // The footer stands directly under the last text line of that page.
    double last_line_bottom = 0;
    double footer_top = 0;
    for (const PdfWord& word : pdf_words(pdf())) {
        if (word.page == 2 && word.text == kFooterWord) {
            footer_top = word.y_min;
        } else if (word.page == 2 && word.text.rfind("Ред", 0) == 0) {
            last_line_bottom = std::max(last_line_bottom, word.y_max);
        }
    }
    ASSERT_GT(footer_top, 0);
    EXPECT_GT(footer_top, last_line_bottom);
    EXPECT_LT(footer_top - last_line_bottom, 20); // points: the next line, not the foot
}

TEST_F(PreviewWindow, EditsChangeTheShownPageButNotThePrintedOne) {
    open_preview(write_report("ONE.TXT", 2));
    EXPECT_EQ(next()->text().toStdString(), "Край");
    EXPECT_EQ(print()->text().toStdString(), "Печат стр. 1/1");
    // Shown, the page is its screen form.
    EXPECT_EQ(job().PageText, filter_text(job().PrintText, "Screen"));

    text()->selectAll();
    QTest::keyClick(text(), Qt::Key_Delete);
    text()->insertPlainText(QStringLiteral("Поправка"));
    EXPECT_EQ(job().PageText, filter_text(to_mik("Поправка"), "Screen"));
    click(print());

    EXPECT_EQ(window("Form2"), nullptr);
    const std::string printed = page_text(pdf(), 1);
    EXPECT_NE(printed.find("Ред 001"), std::string::npos);
    EXPECT_NE(printed.find("Ред 002"), std::string::npos);
    EXPECT_EQ(printed.find("Поправка"), std::string::npos);
}

TEST_F(PreviewWindow, EmptiedBoxSuppressesThatPage) {
    const int per_page = lines_per_page();
    open_preview(write_report("TWO.TXT", per_page + 1));
    text()->clear();
    EXPECT_TRUE(job().PageText.empty());
    click(print()); // nothing printed, page 2 shown
    EXPECT_EQ(job().PageNumber, 2);
    click(print()); // page 2 is the last
    ASSERT_EQ(pdf_pages(pdf()), 1);
    EXPECT_EQ(page_text(pdf(), 1).find("Ред 001"), std::string::npos);
    EXPECT_NE(page_text(pdf(), 1).find(line_label(per_page + 1)), std::string::npos);
}

TEST_F(PreviewWindow, ReopenedAfterTheLastPageHasNothingToShow) {
    open_preview(write_report("ONE.TXT", 1));
    window("Form2")->close();
    settle();
    auto* again = new Form2;
    again->show();
    EXPECT_TRUE(text()->toPlainText().isEmpty());
    EXPECT_EQ(next()->text().toStdString(), "Последна стр.");
    EXPECT_FALSE(print()->isVisible());
    click(next());
    EXPECT_EQ(window("Form2"), nullptr);
}

TEST_F(PreviewWindow, CaptionIsTheFileNameOnly) {
    open_preview(write_report("ОТЧЕТ.TXT", 1));
    EXPECT_EQ(window("Form2")->windowTitle().toStdString(), "ОТЧЕТ.TXT");
}

TEST_F(PreviewWindow, ScreenTextShowsCyrillicAndPlainBoxes) {
    const std::string report = dir.file("BOX.TXT");
    write_bytes(report, to_mik("┌──┐\r\n│Юг│\r\n└──┘\r\n"));
    open_preview(report);
    const QString shown = text()->toPlainText();
    EXPECT_TRUE(shown.contains(QStringLiteral("Юг"))) << shown.toStdString();
    EXPECT_FALSE(shown.contains(QStringLiteral("│")));
}

TEST_F(PreviewWindow, TextBoxFollowsTheWindowWidth) {
    open_preview(write_report("ONE.TXT", 1));
    QWidget* preview = window("Form2");
    for (const int width : {700, 900, 500}) {
        preview->resize(width, preview->height());
        settle();
        EXPECT_EQ(text()->width(), preview->frameGeometry().width() - twips_to_pixels_x(300))
            << width;
        EXPECT_EQ(text()->y(), twips_to_pixels_y(600));
    }
}

TEST_F(PreviewWindow, PrinterFailureIsToldAndThePageStays) {
    // The PDF printer cannot write into a folder that does not exist.
    surface = make_printer_surface(
        PrinterTarget{PrinterTarget::Kind::Pdf, "", dir.file("missing/out.pdf")});
    set_printer(surface.get());
    const int per_page = lines_per_page();
    open_preview(write_report("TWO.TXT", per_page + 1));
    click(print());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("missing/out.pdf"), std::string::npos) << messages[0];
    ASSERT_NE(window("Form2"), nullptr);
    EXPECT_EQ(job().PageNumber, 1);
    EXPECT_TRUE(print()->isEnabled());
}

TEST_F(PreviewWindow, ClosedSourceDisablesTheButtons) {
    open_preview(write_report("ONE.TXT", 3));
    source_file().close();
    click(next());
    ASSERT_NE(window("Form2"), nullptr);
    EXPECT_FALSE(next()->isEnabled());
    EXPECT_FALSE(print()->isEnabled());
}

} // namespace
} // namespace kvalon::testing
