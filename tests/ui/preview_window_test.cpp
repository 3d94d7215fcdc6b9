#include "tests/ui/window_fixture.h"

#include "engine/messages.h"
#include "engine/print_job.h"
#include "engine/source_file.h"
#include "tests/support/pdf_tools.h"
#include "ui/print_session.h"
#include "ui/qt/message_box.h"
#include "ui/qt/page_range_dialog.h"
#include "ui/qt/page_view.h"
#include "ui/qt/preview_window.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <filesystem>
#include <functional>

namespace kvalon::testing {
namespace {

const std::string kFooterWord = "фактуриране";

// The preview opened on a freshly planned report, as the menu opens it.
class PreviewWindow : public UiTest {
public:
    void open_preview(const std::string& report) {
        ASSERT_TRUE(session().start(report));
        auto* preview = new Form2(session());
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
    void trigger(const char* action) {
        ASSERT_NE(window("Form2"), nullptr);
        window("Form2")->findChild<QAction*>(QString::fromLatin1(action))->trigger();
        settle();
    }
    // The footer stands on `page` directly under its last text line.
    void expect_footer_under_text(int page) {
        double last_line_bottom = 0;
        double footer_top = 0;
        for (const PdfWord& word : pdf_words(pdf())) {
            if (word.page == page && word.text == kFooterWord) {
                footer_top = word.y_min;
            } else if (word.page == page && word.text.rfind("Ред", 0) == 0) {
                last_line_bottom = std::max(last_line_bottom, word.y_max);
            }
        }
        ASSERT_GT(footer_top, 0) << "no footer on page " << page;
        // The footer's line begins where the last line ends; positions in the
        // file are rounded to thousandths of a point.
        EXPECT_GT(footer_top, last_line_bottom - 0.01);
        EXPECT_LT(footer_top - last_line_bottom, 20); // points: the next line, not the foot
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
        // The last page is not printed by this button, and says so.
        {"Край без тази стр.", "Печат стр. 3/3", line(2 * per_page + 1)},
    };
    for (const Step& step : steps) {
        ASSERT_NE(window("Form2"), nullptr) << step.print_caption;
        EXPECT_EQ(caption_of(next()), step.next_caption);
        EXPECT_EQ(caption_of(print()), step.print_caption);
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
    expect_footer_under_text(2);
}

// Page 1 of three printed, then the preview runs out of pages or is closed:
// the page reaches the printer at once, the footer under it.
TEST_F(PreviewWindow, PrintedPagesGoOutWhenThePreviewRunsOutOrCloses) {
    const struct {
        const char* how;
        bool run_out;
    } cases[] = {{"run out", true}, {"closed", false}};
    for (const auto& c : cases) {
        std::filesystem::remove(pdf());
        open_preview(write_report_of_pages("THREE.TXT", 3));
        click(print()); // page 1, page 2 on view
        if (c.run_out) {
            click(next()); // page 3
            click(next()); // past the last page: the window closes
        } else {
            window("Form2")->close();
            settle();
        }
        EXPECT_EQ(window("Form2"), nullptr) << c.how;
        ASSERT_TRUE(file_exists(pdf())) << c.how;
        EXPECT_EQ(pdf_pages(pdf()), 1) << c.how;
        expect_footer_under_text(1);
    }
}

TEST_F(PreviewWindow, CounterNeverShowsAPageBeyondItsTotal) {
    // Pages two lines longer than planned, ended by form feeds: each becomes
    // a full page and a short one, twice the pages their lines fill.
    const int per_page = lines_per_page();
    std::string report_text;
    for (int block = 0; block < 3; ++block) {
        for (int line = 1; line <= per_page + 2; ++line) {
            report_text += line_label(line) + "\r\n";
        }
        report_text += "\f\r\n";
    }
    const std::string report = dir.file("FF.TXT");
    write_bytes(report, to_mik(report_text));
    open_preview(report);
    const int planned = static_cast<int>(job().PageCount);
    ASSERT_LT(planned, 6);
    std::vector<std::string> captions;
    while (window("Form2") != nullptr) {
        captions.push_back(caption_of(print()));
        click(next());
    }
    ASSERT_EQ(captions.size(), 6u);
    for (std::size_t page = 1; page <= captions.size(); ++page) {
        EXPECT_EQ(captions[page - 1], "Печат стр. " + std::to_string(page) + "/6");
    }
}

TEST_F(PreviewWindow, TextBoxCannotBeEditedButCanBeCopiedAndLeftWithTab) {
    open_preview(write_report("ONE.TXT", 2));
    const QString before = text()->toPlainText();
    text()->setFocus();
    QTest::keyClicks(text(), QStringLiteral("edit"));
    QTest::keyClick(text(), Qt::Key_Delete);
    EXPECT_EQ(text()->toPlainText(), before);
    EXPECT_TRUE(text()->isReadOnly());

    QTest::keyClick(text(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(text(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(QGuiApplication::clipboard()->text().contains(QStringLiteral("Ред 002")));

    QTest::keyClick(text(), Qt::Key_Tab);
    EXPECT_FALSE(text()->hasFocus());
    EXPECT_EQ(text()->toPlainText(), before);
}

TEST_F(PreviewWindow, CaptionIsTheFileNameOnly) {
    open_preview(write_report("ОТЧЕТ.TXT", 1));
    EXPECT_EQ(window("Form2")->windowTitle().toStdString(), "ОТЧЕТ.TXT");
}

TEST_F(PreviewWindow, TextShowsEveryCharacterAsPrintedAndBoxesPlain) {
    const std::string report = dir.file("SIGNS.TXT");
    write_bytes(report, to_mik("┌──┬──┐\r\n│Юг│\x02Ж\x02 │\r\n"
                               "Оцет винен 6°; § 12; ±0,5; ░▒▓█▄▌▐▀; №5; a_b\r\n"
                               "αßΓπΣσµτΦΘΩδ∞φε∩≡±≥≤⌠⌡÷≈°∙·√ⁿ²■\r\n"
                               "╔══╗\r\n"));
    open_preview(report);
    const QString shown = text()->toPlainText();
    for (const char* expected :
         {" ----- ", "|Юг|Ж |", "Оцет винен 6°; § 12; ±0,5; ░▒▓█▄▌▐▀; N5; a_b",
          "αßΓπΣσµτΦΘΩδ∞φε∩≡±≥≤⌠⌡÷≈°∙·√ⁿ²■", " -- "}) {
        EXPECT_TRUE(shown.contains(QString::fromUtf8(expected))) << expected << "\n"
                                                                 << shown.toStdString();
    }
}

TEST_F(PreviewWindow, ViewsFollowTheWindowAndButtonsAreNeverCutOff) {
    open_preview(write_report("ONE.TXT", 1));
    QWidget* preview = window("Form2");
    auto* page = preview->findChild<PageView*>(QStringLiteral("pageView"));
    preview->resize(900, 500);
    settle();
    const QSize text_small = text()->size();
    const QSize page_small = page->size();
    preview->resize(1200, 900);
    settle();
    EXPECT_EQ(text()->height() - text_small.height(), 400);
    EXPECT_EQ(page->height() - page_small.height(), 400);
    EXPECT_GT(text()->width(), text_small.width());
    EXPECT_GT(page->width(), page_small.width());

    preview->resize(50, 50);
    settle();
    EXPECT_GE(preview->width(), preview->minimumSizeHint().width());
    for (QWidget* button : preview->findChildren<QAbstractButton*>()) {
        if (button->isVisible()) {
            EXPECT_TRUE(preview->rect().contains(
                QRect(button->mapTo(preview, QPoint(0, 0)), button->size())))
                << button->objectName().toStdString();
            EXPECT_GE(button->width(), button->sizeHint().width())
                << button->objectName().toStdString();
        }
    }
}

TEST_F(PreviewWindow, PrinterFailureIsToldAndThePageStays) {
    // The PDF printer cannot write into a folder that does not exist.
    bind_pdf(dir.file("missing/out.pdf"));
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

// Every page printed while the preview is open, by whatever button, is in the
// PDF printer's file, in the order printed, and the page on view stays where
// it was; the footer stands under the report's last page wherever it prints.
TEST_F(PreviewWindow, EveryPagePrintedWhileOpenIsKeptInPrintOrder) {
    const int per_page = lines_per_page();
    open_preview(write_report_of_pages("FOUR.TXT", 4));
    std::vector<PageRange> proposals;
    set_page_range_seam([&proposals](PageRange proposed) {
        proposals.push_back(proposed);
        return std::optional<PageRange>(PageRange{2, 3});
    });
    click(print()); // page 1, then page 2 on view
    const char* const actions[] = {"printOnView", "printRange", "printAll"};
    for (const char* action : actions) {
        trigger(action);
        EXPECT_EQ(job().PageNumber, 2) << action;
        EXPECT_EQ(caption_of(print()), "Печат стр. 2/4") << action;
    }
    EXPECT_FALSE(file_exists(pdf())); // written when the preview closes
    window("Form2")->close();
    settle();
    const int first_pages[] = {1, 2, 2, 3, 1, 2, 3, 4};
    ASSERT_EQ(pdf_pages(pdf()), 8);
    for (int page = 1; page <= 8; ++page) {
        const std::string text = page_text(pdf(), page);
        EXPECT_NE(text.find(line_label((first_pages[page - 1] - 1) * per_page + 1)),
                  std::string::npos)
            << "page " << page;
        EXPECT_EQ(text.find(kFooterWord) != std::string::npos, page == 8) << "page " << page;
    }
    ASSERT_EQ(proposals.size(), 1u);
    EXPECT_EQ(proposals[0].first, 2);
    EXPECT_EQ(proposals[0].last, 4);
}

// "Предишна стр." and Page Up go back a page, read again from the report;
// there is none before the first.
TEST_F(PreviewWindow, PreviousPageGoesBackByButtonAndPageUp) {
    const int per_page = lines_per_page();
    open_preview(write_report_of_pages("THREE.TXT", 3));
    auto* previous = control<QPushButton>("Form2", "previousPage");
    ASSERT_NE(previous, nullptr);
    EXPECT_FALSE(previous->isEnabled());
    click(next());
    click(next()); // page 3
    click(previous);
    EXPECT_EQ(job().PageNumber, 2);
    EXPECT_TRUE(text()->toPlainText().contains(QString::fromStdString(line_label(per_page + 1))));
    EXPECT_EQ(caption_of(print()), "Печат стр. 2/3");
    window("Form2")->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window("Form2")));
    QTest::keyClick(window("Form2"), Qt::Key_PageUp);
    settle();
    EXPECT_EQ(job().PageNumber, 1);
    EXPECT_FALSE(previous->isEnabled());
    click(print()); // page 1 printed again after stepping back
    window("Form2")->close();
    settle();
    ASSERT_EQ(pdf_pages(pdf()), 1);
    EXPECT_NE(page_text(pdf(), 1).find(line_label(1)), std::string::npos);
}

// A range with nothing to print sends nothing and says why; one typed
// backwards is told, not printed as its first page.
TEST_F(PreviewWindow, ARangeThatPrintsNothingIsToldAndSendsNothing) {
    const struct {
        PageRange range;
        std::string told;
    } cases[] = {
        {{9, 9}, "Отчетът има 6 стр.; в него няма страници 9-9; нищо не е отпечатано"},
        {{5, 2}, "Обхватът е обърнат: от страница 5 до страница 2; нищо не е отпечатано"},
    };
    for (const auto& c : cases) {
        messages.clear();
        open_preview(write_report_of_pages("SIX.TXT", 6));
        set_page_range_seam([&c](PageRange) { return std::optional<PageRange>(c.range); });
        trigger("printRange");
        window("Form2")->close();
        settle();
        EXPECT_EQ(messages, std::vector<std::string>{c.told});
        EXPECT_FALSE(file_exists(pdf())) << c.told;
    }
}

// The dialog itself takes only pages the report has: 9 typed for a report of
// six pages does not stand.
TEST_F(PreviewWindow, TheRangeDialogTakesOnlyPagesTheReportHas) {
    open_preview(write_report_of_pages("SIX.TXT", 6));
    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        for (const char* name : {"firstPage", "lastPage"}) {
            auto* box = dialog->findChild<QSpinBox*>(QString::fromLatin1(name));
            ASSERT_NE(box, nullptr);
            box->selectAll();
            QTest::keyClicks(box, QStringLiteral("9"));
            EXPECT_LE(box->value(), 6) << name;
        }
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    trigger("printRange");
    EXPECT_FALSE(file_exists(pdf()));
}

// A file there already is replaced only when the user says so; the question
// offers a new file beside it, or nothing at all.
TEST_F(PreviewWindow, AnExistingPdfIsReplacedOnlyWhenAsked) {
    const std::string other = dir.file("out-2.pdf");
    const struct {
        int answer;
        int pages_in_target; // 0: the old file, untouched
        bool new_file;
    } cases[] = {{0, 1, false}, {1, 0, true}, {2, 0, false}};
    for (const auto& c : cases) {
        write_bytes(pdf(), "old");
        std::filesystem::remove(other);
        std::vector<std::string> questions;
        set_question_seam([&questions, &c](const Question& question) {
            questions.push_back(question.text);
            return c.answer;
        });
        open_preview(write_report_of_pages("TWO.TXT", 2));
        click(print());
        // Nothing printed: the page stays on view, as after any refusal.
        EXPECT_EQ(job().PageNumber, c.answer == 2 ? 1 : 2) << c.answer;
        window("Form2")->close();
        settle();
        ASSERT_EQ(questions.size(), 1u) << c.answer;
        EXPECT_EQ(questions[0], "Файлът " + pdf() +
                                    " вече съществува. Да бъде ли заменен? Иначе страниците "
                                    "отиват в нов файл: " +
                                    other);
        if (c.pages_in_target > 0) {
            EXPECT_EQ(pdf_pages(pdf()), c.pages_in_target) << c.answer;
        } else {
            EXPECT_EQ(read_bytes(pdf()), "old") << c.answer;
        }
        EXPECT_EQ(file_exists(other), c.new_file) << c.answer;
    }
}

// Enter on that question, as the box shows it, keeps the file and takes the
// new name; Escape prints nothing.
TEST_F(PreviewWindow, EnterOnTheReplaceQuestionTakesTheNewFileAndEscapeCancels) {
    const std::string other = dir.file("out-2.pdf");
    const struct {
        Qt::Key key;
        bool new_file;
    } cases[] = {{Qt::Key_Return, true}, {Qt::Key_Escape, false}};
    for (const auto& c : cases) {
        write_bytes(pdf(), "old");
        std::filesystem::remove(other);
        set_question_seam([&c](const Question& question) {
            const std::unique_ptr<QMessageBox> box = make_question_box(question);
            box->show();
            EXPECT_TRUE(QTest::qWaitForWindowActive(box.get()));
            QWidget* focused = box->focusWidget();
            QTest::keyClick(focused != nullptr ? focused : box.get(), c.key);
            return answer_of(*box, question);
        });
        open_preview(write_report_of_pages("TWO.TXT", 2));
        click(print());
        window("Form2")->close();
        settle();
        EXPECT_TRUE(read_bytes(pdf()) == "old") << "replaced on " << c.key;
        EXPECT_EQ(file_exists(other), c.new_file) << c.key;
    }
}

// The DOS program writes the report anew while page 2 is on view: before
// anything prints, and when the window is active again, the new report is
// planned and shown from its first page, and the status line says so.
TEST_F(PreviewWindow, AChangedReportIsShownAfreshBeforeAnythingPrints) {
    const struct {
        const char* how;
        std::function<void(PreviewWindow&)> act;
    } cases[] = {
        {"print the page", [](PreviewWindow& t) { t.click(t.print()); }},
        {"print all", [](PreviewWindow& t) { t.trigger("printAll"); }},
        {"step", [](PreviewWindow& t) { t.click(t.next()); }},
        {"come back to the window",
         [](PreviewWindow&) {
             QEvent activated(QEvent::WindowActivate);
             QCoreApplication::sendEvent(window("Form2"), &activated);
         }},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(pdf());
        const std::string report = write_report_of_pages("REPORT.TXT", 3);
        open_preview(report);
        click(next()); // page 2
        std::string other;
        for (int line = 1; line <= 4; ++line) {
            other += "Нов " + std::to_string(line) + "\r\n";
        }
        write_bytes(report, to_mik(other));
        c.act(*this);
        ASSERT_NE(window("Form2"), nullptr) << c.how;
        EXPECT_EQ(job().PageNumber, 1) << c.how;
        EXPECT_TRUE(text()->toPlainText().contains(QStringLiteral("Нов 1"))) << c.how;
        EXPECT_EQ(caption_of(print()), "Печат стр. 1/1") << c.how;
        EXPECT_EQ(control<QLabel>("Form2", "statusLine")->text().toStdString(),
                  messages::kReportChanged)
            << c.how;
        window("Form2")->close();
        settle();
        EXPECT_FALSE(file_exists(pdf())) << c.how; // nothing of either report printed
    }
}

// Page 1 printed, the report written anew, page 1 printed again: one file
// for each version, the first written when the change is seen, and said so.
TEST_F(PreviewWindow, AChangedReportStartsANewDocumentAfterWritingTheOldOne) {
    const std::string report = write_report_of_pages("REPORT.TXT", 3);
    open_preview(report);
    click(print());
    write_bytes(report, to_mik("Нов 1\r\n"));
    QEvent activated(QEvent::WindowActivate);
    QCoreApplication::sendEvent(window("Form2"), &activated);
    EXPECT_EQ(control<QLabel>("Form2", "statusLine")->text().toStdString(),
              messages::kReportChangedEarlierWritten + "1" + messages::kPagesSentTo +
                  "PDF: " + pdf());
    ASSERT_EQ(pdf_pages(pdf()), 1);
    EXPECT_NE(page_text(pdf(), 1).find(line_label(1)), std::string::npos);
    set_question_seam([](const Question& question) { return question.safe; });
    click(print());
    ASSERT_EQ(pdf_pages(dir.file("out-2.pdf")), 1);
    EXPECT_NE(page_text(dir.file("out-2.pdf"), 1).find("Нов 1"), std::string::npos);
    EXPECT_EQ(page_text(pdf(), 1).find("Нов"), std::string::npos);
}

// A report deleted while shown: told; the page on view, read from the open
// file, still prints, but nothing that would be read again.
TEST_F(PreviewWindow, ADeletedReportPrintsOnlyThePageOnView) {
    const std::string report = write_report_of_pages("REPORT.TXT", 3);
    open_preview(report);
    std::filesystem::remove(report);
    QEvent activated(QEvent::WindowActivate);
    QCoreApplication::sendEvent(window("Form2"), &activated);
    EXPECT_EQ(control<QLabel>("Form2", "statusLine")->text().toStdString(),
              messages::kReportDeleted + report + messages::kOnlyPageShown);
    auto* more = window("Form2")->findChild<QMenu*>(QStringLiteral("printMoreMenu"));
    for (const char* action : {"printAll", "printRange"}) {
        EXPECT_FALSE(more->findChild<QAction*>(QString::fromLatin1(action))->isEnabled()) << action;
    }
    click(print());
    window("Form2")->close();
    settle();
    ASSERT_EQ(pdf_pages(pdf()), 1);
    EXPECT_NE(page_text(pdf(), 1).find(line_label(1)), std::string::npos);
}

} // namespace
} // namespace kvalon::testing
