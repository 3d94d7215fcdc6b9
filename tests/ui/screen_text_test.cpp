#include "ui/screen_text.h"

#include <gtest/gtest.h>

namespace kvalon {
namespace {

TEST(ScreenText, CyrillicAndLineEndsSurviveTheTextBox) {
    // "Юг" and "№" in Windows-1251, lines ended by CR LF.
    const std::string screen = "\r\n\r\n  \xDE\xE3 \xB9 1\r\n";
    const QString shown = screen_text_to_display(screen);
    EXPECT_EQ(shown, QStringLiteral("\n\n  Юг № 1\n"));
    EXPECT_EQ(display_to_screen_text(shown), screen);
}

TEST(ScreenText, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(display_to_screen_text(QStringLiteral("a\u4e2db")), "a?b");
}

} // namespace
} // namespace kvalon
