#include "tests/ui/window_fixture.h"

#include "engine/messages.h"
#include "engine/print_job.h"
#include "engine/source_file.h"
#include "tests/support/pdf_tools.h"
#include "ui/qt/menu_window.h"
#include "ui/qt/page_view.h"
#include "ui/qt/path_label.h"

#include <QAction>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include <filesystem>

namespace kvalon::testing {
namespace {

class MenuWindow : public UiTest {
protected:
    static std::string value(Form_menu* menu, const char* label) {
        return menu->findChild<QLabel*>(QString::fromLatin1(label))->text().toStdString();
    }
    static std::string full_value(Form_menu* menu, const char* label) {
        return menu->findChild<PathLabel*>(QString::fromLatin1(label))->path().toStdString();
    }
    static bool can_print(Form_menu* menu) {
        return menu->findChild<QAction*>(QStringLiteral("Print_f"))->isEnabled();
    }
    static bool frame_shown(Form_menu* menu) {
        return menu->findChild<QGroupBox*>(QStringLiteral("Frame1"))->isVisible();
    }
    static std::string status(Form_menu* menu) { return value(menu, "statusLine"); }
    static void reopen(Form_menu* menu) {
        menu->findChild<QAction*>(QStringLiteral("Print_f"))->trigger();
        settle();
    }
    static void press(const char* button) {
        QTest::mouseClick(control<QPushButton>("Form2", button), Qt::LeftButton);
        settle();
    }
    static std::string preview_caption() {
        return caption_of(control<QPushButton>("Form2", "Command2"));
    }
    static QString preview_text() {
        return control<QPlainTextEdit>("Form2", "Text1")->toPlainText();
    }
};

TEST_F(MenuWindow, ChosenReportShowsItsPrintDataAndOpensThePreview) {
    Form_menu* menu = open_menu();
    EXPECT_FALSE(can_print(menu));
    EXPECT_FALSE(frame_shown(menu));
    const std::string report = write_report("REPORT.TXT", 5);
    choose(menu, report);

    const PrintJob& j = job();
    EXPECT_EQ(full_value(menu, "Label14"), "PDF: " + pdf());
    EXPECT_EQ(full_value(menu, "Label2"), report);
    EXPECT_EQ(value(menu, "Label6"), "CourierCyr");
    EXPECT_EQ(value(menu, "Label5"), std::to_string(j.FontSize));
    EXPECT_GE(j.FontSize, 6);
    EXPECT_EQ(value(menu, "Label8"), std::to_string(j.CharsPerLine));
    EXPECT_EQ(value(menu, "Label10"), std::to_string(j.LinesPerPage));
    EXPECT_EQ(value(menu, "Label12"), "Портрет (Portrait)");
    EXPECT_EQ(value(menu, "Label16"), "210 / 297");
    EXPECT_EQ(value(menu, "Label18"), "A4, 210 x 297 mm ");
    EXPECT_TRUE(can_print(menu));
    EXPECT_TRUE(frame_shown(menu));
    EXPECT_TRUE(messages.empty());
    ASSERT_NE(window("Form2"), nullptr);
    EXPECT_EQ(j.PageNumber, 1);
}

TEST_F(MenuWindow, OrientationRowFollowsThePlan) {
    const struct {
        int line_length;
        const char* shown;
    } cases[] = {{40, "Портрет (Portrait)"}, {220, "Пейзаж (Landscape)"}};
    Form_menu* menu = open_menu();
    for (const auto& c : cases) {
        const std::string report = dir.file("WIDE" + std::to_string(c.line_length) + ".TXT");
        write_bytes(report, std::string(static_cast<std::size_t>(c.line_length), 'x') + "\r\n");
        choose(menu, report);
        EXPECT_EQ(value(menu, "Label12"), c.shown) << c.line_length;
    }
}

TEST_F(MenuWindow, LongPathsKeepTheFileNameInView) {
    std::string folder = dir.path();
    for (const char* part : {"Счетоводство 2026", "Отчети за склада", "Ноември", "Окончателни"}) {
        folder += std::string("/") + part;
    }
    std::filesystem::create_directories(folder);
    const std::string report = folder + "/НАЛИЧНОСТИ-ЗОРА.TXT";
    write_bytes(report, to_mik("Ред 1\r\n"));
    Form_menu* menu = open_menu();
    choose(menu, report);
    const auto* label = menu->findChild<QLabel*>(QStringLiteral("Label2"));
    const QString shown = label->text();
    EXPECT_TRUE(shown.endsWith(QStringLiteral("НАЛИЧНОСТИ-ЗОРА.TXT"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QChar(0x2026))) << shown.toStdString();
    EXPECT_LE(label->fontMetrics().horizontalAdvance(shown), label->width());
    EXPECT_EQ(label->toolTip().toStdString(), report);
}

TEST_F(MenuWindow, EmptyFileIsReportedAndDropsTheJob) {
    Form_menu* menu = open_menu();
    const std::string empty = dir.file("EMPTY.TXT");
    write_bytes(empty, "");
    choose(menu, empty);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Файл " + empty + " е с нулева дължина");
    EXPECT_FALSE(can_print(menu));
    EXPECT_FALSE(frame_shown(menu));
    EXPECT_EQ(window("Form2"), nullptr);
    EXPECT_FALSE(source_file().is_open());
}

// The folder of the last choice, kept over a cancel and into the next run.
TEST_F(MenuWindow, DialogStartsWhereTheLastReportWasChosen) {
    const std::string home = QDir::homePath().toStdString();
    const std::string report = write_report("REPORT.TXT", 3);
    Form_menu* menu = open_menu();
    choose(menu, report);
    choose(menu, "");
    choose(menu, "");
    delete menu;
    Form_menu* next_run = open_menu();
    choose(next_run, "");
    EXPECT_EQ(dialog_folders, (std::vector<std::string>{home, dir.path(), dir.path(), dir.path()}));
}

// A report in CP866 reads right once its page is chosen, by name or told
// from the report: the report on view is planned again, the page the program
// told is on the status line, and the next run keeps the choice.
TEST_F(MenuWindow, CodePageChoiceReplansTheReportAndIsRemembered) {
    const std::string report = dir.file("CP866.TXT");
    write_bytes(report,
                to_code_page("Отчет за стоките в склада на търговеца\r\n", CodePageId::Cp866));
    Form_menu* menu = open_menu();
    choose(menu, report);
    const auto shown = [] {
        return control<QPlainTextEdit>("Form2", "Text1")->toPlainText().toStdString();
    };
    EXPECT_EQ(job().CodePage, CodePageId::Mik);
    EXPECT_EQ(shown().find("Отчет за стоките"), std::string::npos);
    auto* cp866 = menu->findChild<QAction*>(QStringLiteral("codePage_cp866"));
    auto* automatic = menu->findChild<QAction*>(QStringLiteral("codePage_auto"));
    ASSERT_NE(cp866, nullptr);
    ASSERT_NE(automatic, nullptr);
    EXPECT_TRUE(menu->findChild<QAction*>(QStringLiteral("codePage_mik"))->isChecked());
    cp866->trigger();
    EXPECT_EQ(job().CodePage, CodePageId::Cp866);
    EXPECT_NE(shown().find("Отчет за стоките"), std::string::npos) << shown();
    automatic->trigger();
    EXPECT_EQ(job().CodePage, CodePageId::Cp866);
    EXPECT_EQ(job().PageNumber, 1);
    const std::string status =
        menu->findChild<QLabel*>(QStringLiteral("statusLine"))->text().toStdString();
    EXPECT_EQ(status.find("Кодова таблица на отчета: cp866"), 0u) << status;
    delete menu;
    job().CodePageAsked.reset();
    Form_menu* next_run = open_menu();
    EXPECT_TRUE(next_run->findChild<QAction*>(QStringLiteral("codePage_auto"))->isChecked());
    EXPECT_TRUE(job().CodePageAsked && job().CodePageAsked->automatic);
}

// Pages that the report ends with form feeds, each longer than a sheet: off,
// each runs onto a second sheet; with the choice on, each is one sheet, the
// counter shows the true total, and the next run keeps the choice.
TEST_F(MenuWindow, ReportPagesFitOnOneSheetWhenChosen) {
    const int per_page = lines_per_page();
    const int report_page = per_page + 5;
    auto line = [](int page, int row) {
        return "Стр. " + std::to_string(page) + " ред " + std::to_string(row);
    };
    std::string text;
    for (int page = 1; page <= 3; ++page) {
        for (int row = 1; row <= report_page; ++row) {
            text += line(page, row) + "\r\n";
        }
        text += "\f\r\n";
    }
    const std::string report = dir.file("PAGES.TXT");
    write_bytes(report, to_mik(text));
    Form_menu* menu = open_menu();
    auto* fit = menu->findChild<QAction*>(QStringLiteral("fitPages"));
    ASSERT_NE(fit, nullptr);
    EXPECT_FALSE(fit->isChecked());
    choose(menu, report);
    EXPECT_EQ(job().LinesPerPage, per_page);
    EXPECT_EQ(preview_caption(), "Печат стр. 1/6");
    EXPECT_EQ(value(menu, "Label22"), "текст (разпознат)");

    fit->trigger();
    EXPECT_GE(job().LinesPerPage, report_page);
    EXPECT_EQ(preview_caption(), "Печат стр. 1/3");
    EXPECT_EQ(value(menu, "Label22"), "текст (разпознат), стр. на един лист");
    window("Form2")->findChild<QAction*>(QStringLiteral("printAll"))->trigger();
    window("Form2")->close();
    settle();
    ASSERT_EQ(pdf_pages(pdf()), 3);
    for (int page = 1; page <= 3; ++page) {
        const std::string printed = page_text(pdf(), page);
        EXPECT_NE(printed.find(line(page, report_page)), std::string::npos) << page;
        EXPECT_EQ(printed.find(line(page + 1, 1) + " "), std::string::npos) << page;
    }

    delete menu;
    job().FitPages = false;
    Form_menu* next_run = open_menu();
    EXPECT_TRUE(next_run->findChild<QAction*>(QStringLiteral("fitPages"))->isChecked());
    EXPECT_TRUE(job().FitPages);
}

// A report written for an Epson printer, chosen with the mode off: its
// sequences would print as letters; the status line says so and offers the
// mode, which plans the report again.
TEST_F(MenuWindow, EpsonSequencesAreToldAndTheModeOffered) {
    const std::string report = dir.file("EPSON.TXT");
    write_bytes(report, "\x1b@\x1b"
                        "E" +
                            to_mik("Склад") +
                            "\x1b"
                            "F\r\n");
    Form_menu* menu = open_menu();
    choose(menu, report);
    EXPECT_EQ(status(menu), messages::kEpsonSequencesHint);
    auto* offer = menu->findChild<QPushButton*>(QStringLiteral("escpOffer"));
    ASSERT_TRUE(offer->isVisible());
    QTest::mouseClick(offer, Qt::LeftButton);
    settle();
    EXPECT_TRUE(job().Escp.has_value());
    EXPECT_FALSE(offer->isVisible());
    EXPECT_EQ(value(menu, "Label22"), "Epson (ESC/P)");
    EXPECT_EQ(status(menu), "");
}

TEST_F(MenuWindow, CancelAfterAChoiceHidesTheDataButKeepsTheSourceOpen) {
    Form_menu* menu = open_menu();
    choose(menu, write_report("REPORT.TXT", 3));
    choose(menu, "");
    EXPECT_FALSE(can_print(menu));
    EXPECT_FALSE(frame_shown(menu));
    EXPECT_TRUE(source_file().is_open());
    EXPECT_TRUE(messages.empty());
}

TEST_F(MenuWindow, UnusableChoicesAreToldAndLeaveNoFileChosen) {
    const std::string vanished = dir.file("GONE.TXT");
    const std::string too_long = dir.file("LONG.TXT");
    write_bytes(too_long, std::string(40000, 'x') + "\r\n");
    const struct {
        std::string path;
        std::string message;
    } cases[] = {
        {vanished, messages::kFileVanished + vanished},
        {too_long, messages::kLineTooLong + too_long},
    };
    Form_menu* menu = open_menu();
    for (const auto& c : cases) {
        messages.clear();
        choose(menu, write_report("GOOD.TXT", 3));
        choose(menu, c.path);
        ASSERT_EQ(messages.size(), 1u) << c.path;
        EXPECT_EQ(messages[0], c.message);
        EXPECT_FALSE(can_print(menu));
        EXPECT_FALSE(frame_shown(menu));
        EXPECT_FALSE(source_file().is_open());
    }
}

// A report chosen under an open preview replaces the page on view at once;
// an empty one clears the view and says why; the next press acts on what is
// shown.
TEST_F(MenuWindow, OpenPreviewFollowsEveryNewChoice) {
    Form_menu* menu = open_menu();
    choose(menu, write_report_of_pages("THREE.TXT", 3));
    QPointer<QWidget> preview = window("Form2");
    ASSERT_NE(preview, nullptr);

    const std::string empty = dir.file("EMPTY.TXT");
    write_bytes(empty, "");
    choose(menu, empty);
    ASSERT_TRUE(preview);
    ASSERT_EQ(messages.size(), 1u);
    auto* text = control<QPlainTextEdit>("Form2", "Text1");
    EXPECT_TRUE(text->toPlainText().isEmpty());
    EXPECT_EQ(text->placeholderText().toStdString(), messages[0]);
    EXPECT_FALSE(control<PageView>("Form2", "pageView")->has_page());
    EXPECT_FALSE(control<QPushButton>("Form2", "Command1")->isEnabled());
    EXPECT_FALSE(control<QPushButton>("Form2", "Command2")->isEnabled());

    const std::string other = dir.file("OTHER.TXT");
    write_bytes(other, to_mik("Друг отчет\r\n"));
    choose(menu, other);
    ASSERT_TRUE(preview);
    EXPECT_EQ(window("Form2"), preview.data());
    EXPECT_EQ(preview->windowTitle().toStdString(), "OTHER.TXT");
    EXPECT_TRUE(preview_text().contains(QStringLiteral("Друг отчет")));
    EXPECT_EQ(preview_caption(), "Печат стр. 1/1");
    press("Command2");
    EXPECT_EQ(window("Form2"), nullptr);
    ASSERT_TRUE(file_exists(pdf()));
    EXPECT_NE(page_text(pdf(), 1).find("Друг отчет"), std::string::npos);
}

TEST_F(MenuWindow, ReopenedPreviewShowsThePageThatWasOnView) {
    Form_menu* menu = open_menu();
    choose(menu, write_report_of_pages("THREE.TXT", 3));
    press("Command1"); // page 2 on view
    const QString page_two = preview_text();
    window("Form2")->close();
    settle();
    reopen(menu);
    ASSERT_NE(window("Form2"), nullptr);
    EXPECT_EQ(job().PageNumber, 2);
    EXPECT_EQ(preview_text(), page_two);
    EXPECT_EQ(preview_caption(), "Печат стр. 2/3");

    // Every page shown: the report is offered again from its first page.
    press("Command1");
    press("Command1");
    EXPECT_EQ(window("Form2"), nullptr);
    reopen(menu);
    EXPECT_EQ(job().PageNumber, 1);
    EXPECT_EQ(preview_caption(), "Печат стр. 1/3");
}

TEST_F(MenuWindow, StatusLineTellsWhatWasPrintedAndWhere) {
    Form_menu* menu = open_menu();
    choose(menu, write_report_of_pages("THREE.TXT", 3));
    window("Form2")->close();
    settle();
    EXPECT_EQ(status(menu), "Нищо не е отпечатано");
    reopen(menu);
    press("Command2");
    press("Command2");
    press("Command1"); // past page 3, the last
    EXPECT_EQ(window("Form2"), nullptr);
    EXPECT_EQ(status(menu), "2 стр. изпратени към принтер PDF: " + pdf());
    EXPECT_EQ(pdf_pages(pdf()), 2);
}

TEST_F(MenuWindow, ClosingTheMenuClosesEveryWindow) {
    Form_menu* menu = open_menu();
    choose(menu, write_report("REPORT.TXT", 3));
    menu->findChild<QAction*>(QStringLiteral("Help_m"))->trigger();
    settle();
    ASSERT_NE(window("Form2"), nullptr);
    ASSERT_NE(window("Form1"), nullptr);
    menu->findChild<QAction*>(QStringLiteral("End_prog"))->trigger();
    settle();
    EXPECT_EQ(window("Form_menu"), nullptr);
    EXPECT_EQ(window("Form2"), nullptr);
    EXPECT_EQ(window("Form1"), nullptr);
}

TEST_F(MenuWindow, PagesOfTheOldJobAreOneDocumentWhenAnotherFileIsChosen) {
    Form_menu* menu = open_menu();
    choose(menu, write_report_of_pages("THREE.TXT", 3));
    press("Command2");
    EXPECT_FALSE(file_exists(pdf())); // the job's document is still open
    choose(menu, write_report("NEXT.TXT", 2));
    ASSERT_TRUE(file_exists(pdf()));
    EXPECT_EQ(pdf_pages(pdf()), 1);
}

TEST_F(MenuWindow, AReportDroppedOnTheWindowIsChosen) {
    Form_menu* menu = open_menu();
    const std::string report = write_report("DROPPED.TXT", 2);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(report))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    enter.setAccepted(false);
    QCoreApplication::sendEvent(menu, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(menu, &drop);
    settle();
    EXPECT_EQ(full_value(menu, "Label2"), report);
    ASSERT_NE(window("Form2"), nullptr);
    EXPECT_EQ(job().PageNumber, 1);

    QMimeData folder;
    folder.setUrls({QUrl::fromLocalFile(QString::fromStdString(dir.path()))});
    QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &folder, Qt::LeftButton,
                            Qt::NoModifier);
    refused.setAccepted(false);
    QCoreApplication::sendEvent(menu, &refused);
    EXPECT_FALSE(refused.isAccepted());
}

TEST_F(MenuWindow, EveryWindowCarriesTheProgramIcon) {
    Form_menu* menu = open_menu();
    choose(menu, write_report("REPORT.TXT", 3));
    menu->findChild<QAction*>(QStringLiteral("Help_m"))->trigger();
    settle();
    for (const char* name : {"Form_menu", "Form2", "Form1"}) {
        ASSERT_NE(window(name), nullptr) << name;
        EXPECT_FALSE(window(name)->windowIcon().pixmap(32, 32).isNull()) << name;
    }
}

} // namespace
} // namespace kvalon::testing
