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
    // Bytes above 127 only, which KOI8-R and CP1251 turn into letters; one
    // byte over and over; no letters at all. Many bytes, no evidence.
    std::string high_junk;
    for (int line = 0; line < 2000; ++line) {
        for (int column = 0; column < 60; ++column) {
            high_junk += static_cast<char>(128 + (random() & 0x7F));
        }
        high_junk += "\r\n";
    }
    const std::string no_text[] = {junk, high_junk, repeated(std::string(60, '\xFF') + "\r\n", 200),
                                   repeated("\xE0\xE1", 3000),
                                   repeated("\xC4\xC4 12 \xC4\r\n", 50)};
    for (const std::string& bytes : no_text) {
        const CodePageGuess guess = guess_code_page(bytes);
        EXPECT_EQ(guess.page, CodePageId::Mik) << bytes.substr(0, 8);
        EXPECT_LT(guess.certainty, 50) << bytes.substr(0, 8);
    }

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
    // One word is less evidence than eight lines.
    const CodePageGuess word = guess_code_page(to_code_page("Фактура\r\n", CodePageId::Koi8R));
    EXPECT_EQ(word.page, CodePageId::Koi8R);
    EXPECT_LT(word.certainty, stacked.certainty);
}

// Short reports of lines repeated but for their figures: CP866 reads MIK's
// р, с, т as shades and ч as a frame character, inside words ("░ед", "о▓"),
// which no report prints, so MIK is told surely; a line repeated is no more
// evidence than once. A German report prints alike in CP437 and CP850 (and
// CP852 and CP857): the page named is the one made for its letters.
TEST(CodePageGuess, ShortMikReportsAndPagesThatPrintAlike) {
    std::string blocks;
    for (int row = 1; row <= 20; ++row) {
        blocks += "Блок 20, ред " + std::to_string(row) + " от 20\r\n";
    }
    std::string pages;
    for (int page = 1; page <= 2; ++page) {
        for (int row = 1; row <= 30; ++row) {
            pages += "ред " + std::to_string(row) + " на страница " + std::to_string(page) +
                     ": текст на отчета\r\n";
        }
        pages += "\f";
    }
    const std::string german = "Lieferschein für Müller & Söhne, Hauptstraße 12\r\n"
                               "Größe der Äpfel: über 5 cm, Öl und Übergröße gemäß Maß\r\n";
    struct Case {
        const char* name;
        std::string bytes;
        CodePageId page;
        int least_certainty;
    };
    const Case cases[] = {
        {"blocks in MIK", iconv_bytes(blocks, "MIK"), CodePageId::Mik, 90},
        {"one block line in MIK", iconv_bytes("Блок 20, ред 1 от 20\r\n", "MIK"), CodePageId::Mik,
         90},
        {"pages of rows in MIK", iconv_bytes(pages, "MIK"), CodePageId::Mik, 90},
        {"the rows in CP866", iconv_bytes(pages, "CP866"), CodePageId::Cp866, 90},
        {"German in CP850", iconv_bytes(german, "IBM850"), CodePageId::Cp850, 50},
        {"German in CP437", iconv_bytes(german, "IBM437"), CodePageId::Cp850, 50},
    };
    for (const Case& c : cases) {
        const CodePageGuess guess = guess_code_page(c.bytes);
        EXPECT_EQ(code_page_name(guess.page), code_page_name(c.page)) << c.name;
        EXPECT_TRUE(guess.sure) << c.name;
        EXPECT_GE(guess.certainty, c.least_certainty) << c.name;
    }
}

} // namespace
} // namespace kvalon::testing
