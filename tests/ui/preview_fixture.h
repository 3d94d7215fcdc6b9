#pragma once

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

inline const std::string kFooterWord = "фактуриране";

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

} // namespace kvalon::testing
