#include "tests/ui/preview_fixture.h"

namespace kvalon::testing {
namespace {

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

} // namespace
} // namespace kvalon::testing
