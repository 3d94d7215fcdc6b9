#include "engine/error.h"
#include "engine/source_file.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kvalon {
namespace {

std::vector<LineShape> skim_all(const std::string& bytes) {
    testing::TempDir dir;
    testing::write_bytes(dir.file("s.txt"), bytes);
    SourceFile file;
    file.open(dir.file("s.txt"));
    std::vector<LineShape> shapes;
    while (!file.at_end()) {
        shapes.push_back(file.skim_line('\x02'));
    }
    return shapes;
}

TEST(SourceFile, SkimsLinesAcrossTheBufferEdge) {
    const std::size_t edge = std::size_t{1} << 20;
    // CR as the buffer's last byte, its LF the next buffer's first. The lines
    // are bold markers, so that planning could take them whole.
    std::string source(edge - 1, '\x02');
    source += "\r\n\f\r\n";
    const auto shapes = skim_all(source);
    ASSERT_EQ(shapes.size(), 2u);
    EXPECT_EQ(shapes[0].length, static_cast<std::int64_t>(edge - 1));
    EXPECT_TRUE(shapes[1].lone_form_feed);

    // A lone form feed whose line goes on in the next buffer is not lone.
    std::string split(edge - 2, '\x02');
    split += "\r\f";
    split += "x\r\n";
    const auto split_shapes = skim_all(split);
    ASSERT_EQ(split_shapes.size(), 2u);
    EXPECT_FALSE(split_shapes[1].lone_form_feed);
    EXPECT_EQ(split_shapes[1].length, 2);
}

TEST(SourceFile, CountsMarkersAndTheirClosingPair) {
    const auto shapes = skim_all("a\x02\x02\r\n\x02\r\nb\x02\r\n");
    ASSERT_EQ(shapes.size(), 3u);
    EXPECT_EQ(shapes[0].skip_total, 2);
    EXPECT_TRUE(shapes[0].ends_with_two_skips);
    EXPECT_EQ(shapes[1].skip_total, 1);
    EXPECT_FALSE(shapes[1].ends_with_two_skips);
    EXPECT_FALSE(shapes[2].ends_with_two_skips);
}

TEST(SourceFile, SkimmingStopsAtALineThatCanNeverBePlanned) {
    const auto shapes = skim_all(std::string(3 << 20, 'a') + "\r\nnext\r\n");
    ASSERT_FALSE(shapes.empty());
    EXPECT_TRUE(shapes[0].cannot_be_planned);
    EXPECT_LE(shapes[0].length, std::int64_t{1} << 20) << "one buffer at most";
}

TEST(SourceFile, AFolderOrAMissingFileIsAFileError) {
    testing::TempDir dir;
    SourceFile file;
    for (const std::string& path : {dir.path(), dir.file("missing")}) {
        try {
            file.open(path);
            FAIL() << path;
        } catch (const KvalonError& error) {
            EXPECT_EQ(error.kind(), ErrorKind::File);
            EXPECT_EQ(error.path(), path);
        }
        EXPECT_FALSE(file.is_open());
        EXPECT_TRUE(file.at_end());
    }
}

} // namespace
} // namespace kvalon
