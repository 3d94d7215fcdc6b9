#include "engine/code_page_guess.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace kvalon::testing {
namespace {

std::string repeated(const std::string& line, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += line;
    }
    return text;
}

// What the thorough measurement (tests/engine/slow) does not hold: bytes that
// are no text, text without a byte above 127, and a line repeated, whose
// letters stack into columns as a frame's lines do.
TEST(CodePageGuess, NoTextNoEvidenceAndStackedLines) {
    std::mt19937 random(22);
    std::string junk(65536, '\0');
    for (char& c : junk) {
        c = static_cast<char>(random() & 0xFF);
    }
    const CodePageGuess from_junk = guess_code_page(junk);
    EXPECT_EQ(from_junk.page, CodePageId::Mik);
    EXPECT_LT(from_junk.certainty, 50);

    const CodePageGuess ascii = guess_code_page("Stock on hand\r\n+----+\r\n| 12 |\r\n");
    EXPECT_EQ(ascii.page, CodePageId::Mik);
    EXPECT_EQ(ascii.certainty, 100);

    const CodePageGuess sample =
        guess_code_page(read_bytes(source_dir() + "/samples/sample-report.txt"));
    EXPECT_EQ(sample.page, CodePageId::Mik);
    EXPECT_EQ(sample.certainty, 100);

    const std::string line = "Товар принят на склад по количеству и качеству без замечаний\r\n";
    const CodePageGuess stacked =
        guess_code_page(to_code_page(repeated(line, 8), CodePageId::Koi8R));
    EXPECT_EQ(stacked.page, CodePageId::Koi8R);
    EXPECT_GE(stacked.certainty, 90);
}

} // namespace
} // namespace kvalon::testing
