#include "engine/escp_characters.h"
#include "engine/escp_line.h"

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

// The tables last from line to line until ESC @, and a line cut short keeps
// the sequences that set them.
TEST(EscpCharacters, TablesCarryFromLineToLineAndThroughACut) {
    EscpAttributes carried;
    read_escp_line(std::string("\x1bR\x02\x1bt\x00x", 7), carried);
    EXPECT_EQ(carried.international, 2);
    EXPECT_EQ(carried.character_table, 0);
    const EscpLine next = read_escp_line("[", carried);
    ASSERT_EQ(next.cells.size(), 1u);
    EXPECT_EQ(next.cells[0].attributes.international, 2);
    read_escp_line("\x1b@", carried);
    EXPECT_EQ(carried, EscpAttributes{});

    std::string kept;
    EscpLineCut cut(EscpAttributes{}, 2, kept);
    cut.take(std::string("\x1bR\x02[\x1bt\x00[[[", 10));
    const EscpAttributes after_cut = cut.finish();
    EscpAttributes again;
    const EscpLine reread = read_escp_line(kept, again);
    ASSERT_EQ(reread.cells.size(), 2u);
    EXPECT_EQ(reread.cells[0].attributes.international, 2);
    EXPECT_EQ(reread.cells[1].attributes.character_table, 0);
    EXPECT_EQ(again, after_cut);
}

} // namespace
} // namespace kvalon
