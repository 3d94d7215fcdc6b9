#include "tests/ui/preview_fixture.h"

namespace kvalon::testing {
namespace {

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
