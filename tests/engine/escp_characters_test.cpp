#include "engine/escp/escp_characters.h"
#include "engine/escp/escp_printer.h"

#include <gtest/gtest.h>

#include <string>

namespace kvalon {
namespace {

TEST(EscpCharacters, NationalSetsAndTheItalicTableOnTopOfTheCodePage) {
    struct Case {
        unsigned char byte, table, set;
        CodePageId page;
        char32_t character;
        bool italic;
    };
    const Case cases[] = {
        {'[', 1, 2, CodePageId::Mik, U'Ä', false},   // Germany
        {'~', 1, 2, CodePageId::Mik, U'ß', false},   //
        {'#', 1, 3, CodePageId::Mik, U'£', false},   // UK
        {'#', 1, 7, CodePageId::Mik, U'₧', false},   // Spain I
        {'\\', 1, 13, CodePageId::Mik, U'₩', false}, // Korea
        {'|', 1, 64, CodePageId::Mik, U'®', false},  // Legal
        {'A', 1, 2, CodePageId::Mik, U'A', false},   // not a switched code
        {0xC4, 1, 0, CodePageId::Cp437, U'─', false},
        {0xC4, 1, 0, CodePageId::Mik, U'─', false},
        {0x84, 3, 2, CodePageId::Cp850, U'ä', false}, // every table but 0 is the page
        {0xC1, 0, 0, CodePageId::Cp866, U'A', true},
        {0xDB, 0, 2, CodePageId::Cp866, U'Ä', true}, // italic and national at once
        {0x85, 0, 0, CodePageId::Mik, 0, true},      // a control code prints nothing
    };
    for (const Case& c : cases) {
        const EscpCharacter printed = escp_character(c.byte, c.table, c.set, c.page);
        EXPECT_EQ(printed.character, c.character) << int(c.byte) << " " << int(c.set);
        EXPECT_EQ(printed.italic, c.italic) << int(c.byte);
    }
    // Values no printer knows leave the tables as they are.
    EXPECT_EQ(escp_character_table('0', 1), 0);
    EXPECT_EQ(escp_character_table(4, 1), 1);
    EXPECT_EQ(escp_international_set(14, 2), 2);
    EXPECT_EQ(escp_international_set(0, 2), 0);
}

// The characters the printer puts on paper, "/" before one printed in italic.
class Printed final : public EscpOutput {
public:
    void glyph(const EscpGlyph& glyph) override {
        text += glyph.italic ? U"/" : U"";
        text += glyph.character;
    }
    std::u32string text;
};

// The tables last from line to line and page to page until ESC @, which
// keeps the code page the printer was set to.
TEST(EscpCharacters, TablesLastUntilResetOnTopOfThePrintersCodePage) {
    Printed printed;
    EscpState start;
    start.code_page = CodePageId::Cp437;
    EscpPrinter printer(printed, start);
    const char report[] = "\x1bR\x02[\r\n\f[\x1bt\x00\xc1\r\n\xc1\x1b@[\x84";
    printer.take(std::string(report, sizeof report - 1));
    printer.finish();
    EXPECT_EQ(printed.text, U"ÄÄ/A/A[ä");
    EXPECT_EQ(printer.state().code_page, CodePageId::Cp437);
}

} // namespace
} // namespace kvalon
