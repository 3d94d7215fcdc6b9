#include "tests/ui/window_fixture.h"

#include "engine/messages.h"
#include "engine/print_job.h"
#include "ui/qt/menu_window.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace kvalon::testing {
namespace {

class CodePageOffer : public UiTest {
protected:
    static std::string value(Form_menu* menu, const char* label) {
        return menu->findChild<QLabel*>(QString::fromLatin1(label))->text().toStdString();
    }
    static std::string status(Form_menu* menu) { return value(menu, "statusLine"); }
};

// A code page chosen by hand for one report stays for the next: a report
// it makes garbage of says so and offers "auto"; one it prints alike (ASCII
// only) does not. The print data name the page, and mark one told.
TEST_F(CodePageOffer, AHandChosenCodePageContradictedByTheReportIsToldAndSwitched) {
    const std::string mik = dir.file("MIK.TXT");
    write_bytes(mik, read_bytes(source_dir() + "/samples/sample-report.txt"));
    const std::string ascii = dir.file("ASCII.TXT");
    write_bytes(ascii, "Total 12.50\r\n");
    Form_menu* menu = open_menu();
    menu->findChild<QAction*>(QStringLiteral("codePage_cp850"))->trigger();
    auto* offer = menu->findChild<QPushButton*>(QStringLiteral("codePageOffer"));
    choose(menu, ascii);
    EXPECT_EQ(value(menu, "Label24"), "cp850");
    EXPECT_FALSE(offer->isVisible());

    choose(menu, mik);
    EXPECT_EQ(value(menu, "Label24"), "cp850");
    EXPECT_EQ(status(menu).find(messages::kCodePageOtherwise + "mik"), 0u) << status(menu);
    EXPECT_NE(status(menu).find(messages::kCodePageNotChosen + "cp850"), std::string::npos);
    ASSERT_TRUE(offer->isVisible());
    QTest::mouseClick(offer, Qt::LeftButton);
    settle();
    EXPECT_EQ(job().CodePage, CodePageId::Mik);
    EXPECT_EQ(value(menu, "Label24"), "mik (разпозната)");
    EXPECT_TRUE(menu->findChild<QAction*>(QStringLiteral("codePage_auto"))->isChecked());
    EXPECT_FALSE(offer->isVisible());
    EXPECT_EQ(status(menu).find(messages::kCodePageTold + "mik"), 0u) << status(menu);
}

} // namespace
} // namespace kvalon::testing
