#include "tests/ui/window_fixture.h"

#include "engine/print_job.h"
#include "tests/support/pdf_tools.h"
#include "ui/qt/file_dialog.h"
#include "ui/qt/menu_window.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <set>

namespace kvalon::testing {
namespace {

class Keyboard : public UiTest {
protected:
    // The letter after "&" in a caption, or 0 when it has none.
    static QChar access_key(const QString& text) {
        const qsizetype mark = text.indexOf(QLatin1Char('&'));
        return mark >= 0 && mark + 1 < text.size() ? text.at(mark + 1).toUpper() : QChar();
    }
    // Every caption has a key of its own among its neighbours, a Bulgarian
    // letter (or a digit).
    static void expect_own_keys(const std::vector<QString>& texts, const char* where) {
        std::set<char16_t> keys;
        for (const QString& text : texts) {
            const QChar key = access_key(text);
            EXPECT_TRUE(key.isDigit() || key.script() == QChar::Script_Cyrillic)
                << where << ": " << text.toStdString();
            EXPECT_TRUE(keys.insert(key.unicode()).second) << where << ": " << text.toStdString();
        }
    }
    static std::vector<QString> action_texts(const QList<QAction*>& actions) {
        std::vector<QString> texts;
        for (const QAction* action : actions) {
            if (!action->isSeparator()) {
                texts.push_back(action->text());
            }
        }
        return texts;
    }
    QMenu* file_menu(Form_menu* menu) {
        return menu->findChild<QMenu*>(QStringLiteral("File_menu"));
    }
    // Keys reach the window the user works in: the active one.
    static void activate(QWidget* window) {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }
    static void press_key(QWidget* target, int key, Qt::KeyboardModifiers modifiers,
                          const QString& text = {}) {
        QTest::sendKeyEvent(QTest::Click, target, static_cast<Qt::Key>(key), text, modifiers);
    }
};

TEST_F(Keyboard, EveryMenuItemAndButtonHasItsOwnAccessKey) {
    Form_menu* menu = open_menu();
    choose(menu, write_report_of_pages("TWO.TXT", 2));
    expect_own_keys(action_texts(menu->menuBar()->actions()), "menu bar");
    expect_own_keys(action_texts(file_menu(menu)->actions()), "file menu");
    QWidget* preview = window("Form2");
    ASSERT_NE(preview, nullptr);
    std::vector<QString> buttons;
    for (const QAbstractButton* button : preview->findChildren<QAbstractButton*>()) {
        buttons.push_back(button->text());
    }
    expect_own_keys(buttons, "preview");
    expect_own_keys(
        action_texts(preview->findChild<QMenu*>(QStringLiteral("printMoreMenu"))->actions()),
        "more printing");
}

TEST_F(Keyboard, AltFAndF10OpenTheFileMenu) {
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        const char* text;
    } cases[] = {{Qt::Key_F, Qt::AltModifier, "f"},
                 {Qt::Key_F10, Qt::NoModifier, ""},
                 {0x0424, Qt::AltModifier, "ф"}};
    for (const auto& c : cases) {
        Form_menu* menu = open_menu();
        activate(menu);
        press_key(menu, c.key, c.modifiers, QString::fromUtf8(c.text));
        EXPECT_TRUE(file_menu(menu)->isVisible()) << c.key;
        file_menu(menu)->hide();
        delete menu;
    }
}

// Focus shows on "Печат стр." at opening; Space and Enter press the focused
// button, Page Down steps on, Ctrl+P prints, Escape closes.
TEST_F(Keyboard, PreviewIsWorkedFromTheKeyboard) {
    Form_menu* menu = open_menu();
    choose(menu, write_report_of_pages("FOUR.TXT", 4));
    QWidget* preview = window("Form2");
    ASSERT_NE(preview, nullptr);
    activate(preview);
    auto* print = control<QPushButton>("Form2", "Command2");
    auto* next = control<QPushButton>("Form2", "Command1");
    EXPECT_EQ(preview->focusWidget(), print);
    EXPECT_TRUE(preview->testAttribute(Qt::WA_KeyboardFocusChange));

    QTest::keyClick(print, Qt::Key_Space); // prints page 1
    EXPECT_EQ(job().PageNumber, 2);
    next->setFocus();
    QTest::keyClick(next, Qt::Key_Return); // past page 2
    EXPECT_EQ(job().PageNumber, 3);
    auto* text = control<QWidget>("Form2", "Text1");
    text->setFocus();
    QTest::keyClick(text, Qt::Key_PageDown); // past page 3, even from the page's text
    EXPECT_EQ(job().PageNumber, 4);
    QTest::keyClick(preview, Qt::Key_P, Qt::ControlModifier); // prints page 4, the last
    settle();
    EXPECT_EQ(window("Form2"), nullptr);
    EXPECT_EQ(pdf_pages(pdf()), 2);

    menu->findChild<QAction*>(QStringLiteral("Print_f"))->trigger();
    menu->findChild<QAction*>(QStringLiteral("Help_m"))->trigger();
    settle();
    for (const char* name : {"Form2", "Form1"}) {
        ASSERT_NE(window(name), nullptr) << name;
        activate(window(name));
        QTest::keyClick(window(name), Qt::Key_Escape);
        settle();
        EXPECT_EQ(window(name), nullptr) << name;
    }
}

// A printer picked in the menu window leaves the keyboard there: Enter does
// not print in the preview behind it. Ctrl+O chooses a report from the
// preview and the About window as from the menu.
TEST_F(Keyboard, APrinterChoiceKeepsTheKeyboardAndCtrlOWorksEverywhere) {
    Form_menu* menu = open_menu();
    choose(menu, write_report_of_pages("FOUR.TXT", 4));
    activate(menu);
    set_save_dialog_seam([this](const std::string&) { return dir.file("other.pdf"); });
    menu->findChild<QAction*>(QStringLiteral("pdfPrinter"))->trigger();
    settle();
    EXPECT_EQ(QApplication::activeWindow(), menu);
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : menu,
                    Qt::Key_Return);
    settle();
    EXPECT_EQ(job().PageNumber, 1) << "nothing printed, nothing stepped";

    menu->findChild<QAction*>(QStringLiteral("Help_m"))->trigger();
    settle();
    const std::string other = write_report_of_pages("TWO.TXT", 2);
    for (const char* name : {"Form2", "Form1"}) {
        ASSERT_NE(window(name), nullptr) << name;
        activate(window(name));
        answer_dialog(other);
        QTest::keyClick(window(name), Qt::Key_O, Qt::ControlModifier);
        settle();
        EXPECT_EQ(job().SourcePath, other) << name;
        job().SourcePath.clear();
    }
    EXPECT_EQ(dialog_folders.size(), 3u);
}

} // namespace
} // namespace kvalon::testing
