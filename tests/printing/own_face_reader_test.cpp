// Our own TrueType reader (the Windows build's) against HarfBuzz (the Linux
// build's), over the font the program prints in: every code point, advance,
// name and outline must be the same, so that both builds print the same
// pages; and its subsets must read back as the face they were cut from.
#include "printing/face_reader.h"
#include "printing/own_face_reader.h"
#include "tests/printing/pdf_test_document.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace kvalon {
namespace {

// Every figure to the last bit, readable when two outlines differ.
std::string text_of(const std::vector<OutlineStep>& steps) {
    std::string text;
    for (const OutlineStep& step : steps) {
        text += "mlch"[static_cast<int>(step.kind)];
        for (const float value : step.points) {
            char figure[32];
            std::snprintf(figure, sizeof figure, " %.9g", static_cast<double>(value));
            text += figure;
        }
        text += '\n';
    }
    return text;
}

class OwnFaceReader : public ::testing::Test {
protected:
    std::string m_file = testing::read_bytes(testing::font_file());
    std::unique_ptr<FaceReader> m_theirs = read_face(m_file);
    std::unique_ptr<FaceReader> m_ours = read_face_with_own_tables(m_file);
};

TEST_F(OwnFaceReader, ReadsTheFaceAsHarfBuzzDoes) {
    ASSERT_GT(m_theirs->glyph_count(), 256u);
    EXPECT_EQ(m_ours->glyph_count(), m_theirs->glyph_count());
    EXPECT_EQ(m_ours->units_per_em(), m_theirs->units_per_em());
    for (const unsigned name : {1u, 6u}) {
        EXPECT_EQ(m_ours->name(name), m_theirs->name(name)) << "name " << name;
    }
    int mapped = 0;
    for (char32_t code = 0; code < 0x110000; ++code) {
        std::uint32_t ours = 0, theirs = 0;
        const bool known = m_theirs->nominal_glyph(code, theirs);
        ASSERT_EQ(m_ours->nominal_glyph(code, ours), known)
            << "U+" << std::hex << static_cast<unsigned>(code);
        ASSERT_EQ(ours, known ? theirs : 0u) << "U+" << std::hex << static_cast<unsigned>(code);
        mapped += known ? 1 : 0;
    }
    EXPECT_GT(mapped, 500);
    // One past the last glyph as well: a damaged map may name it.
    for (std::uint32_t glyph = 0; glyph <= m_theirs->glyph_count(); ++glyph) {
        ASSERT_EQ(m_ours->advance(glyph), m_theirs->advance(glyph)) << "glyph " << glyph;
        ASSERT_EQ(text_of(m_ours->outline(glyph)), text_of(m_theirs->outline(glyph)))
            << "glyph " << glyph;
    }
}

TEST_F(OwnFaceReader, CutsSubsetsThatKeepGlyphIndexesAdvancesAndOutlines) {
    const std::vector<char32_t> codes = {U'A', U'Ж', U'й', U'ё', U'═', U'█', U'№'};
    std::vector<std::uint16_t> glyphs;
    for (const char32_t code : codes) {
        std::uint32_t glyph = 0;
        ASSERT_TRUE(m_theirs->nominal_glyph(code, glyph));
        glyphs.push_back(static_cast<std::uint16_t>(glyph));
    }
    const std::vector<std::uint32_t> kept = {sfnt_tag("head"), sfnt_tag("hhea"), sfnt_tag("hmtx"),
                                             sfnt_tag("maxp"), sfnt_tag("loca"), sfnt_tag("glyf"),
                                             sfnt_tag("post"), sfnt_tag("OS/2"), sfnt_tag("cmap")};
    const std::optional<std::string> cut = m_ours->subset(glyphs, codes, kept);
    ASSERT_TRUE(cut);
    EXPECT_LT(cut->size(), m_file.size() / 4);
    const std::unique_ptr<FaceReader> read_back = read_face(*cut);
    EXPECT_TRUE(read_back->table(sfnt_tag("name")).empty());
    for (std::size_t i = 0; i < codes.size(); ++i) {
        std::uint32_t glyph = 0;
        EXPECT_TRUE(read_back->nominal_glyph(codes[i], glyph));
        EXPECT_EQ(glyph, glyphs[i]);
        EXPECT_EQ(read_back->advance(glyph), m_theirs->advance(glyph));
        EXPECT_EQ(text_of(read_back->outline(glyph)), text_of(m_theirs->outline(glyph)));
    }
    std::uint32_t absent = 0;
    EXPECT_FALSE(read_back->nominal_glyph(U'Z', absent));
}

TEST(OwnFaceReaderOnDamage, FindsNoFaceInFilesCutShortAndReadsHalfAFileWithinIt) {
    const std::string file = testing::read_bytes(testing::font_file());
    for (const std::size_t length : {std::size_t{0}, std::size_t{11}}) {
        EXPECT_EQ(read_face_with_own_tables(file.substr(0, length))->glyph_count(), 0u);
    }
    const std::string half = file.substr(0, file.size() / 2);
    const std::unique_ptr<FaceReader> reader = read_face_with_own_tables(half);
    for (std::uint32_t glyph = 0; glyph < reader->glyph_count(); ++glyph) {
        reader->outline(glyph);
        EXPECT_GE(reader->advance(glyph), 0);
    }
}

} // namespace
} // namespace kvalon
