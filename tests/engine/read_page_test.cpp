#include "engine/error.h"
#include "engine/print_job.h"
#include "engine/read_page.h"
#include "engine/source_file.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <string>

namespace kvalon {
namespace {

using testing::TempDir;

// The reader is driven with a hand-made plan so that each case states its
// own page geometry.
class ReadPage : public ::testing::Test {
protected:
    void SetUp() override { reset_job(); }
    void TearDown() override { reset_job(); }

    void open_source(const std::string& bytes, int lines_per_page, int chars_per_line,
                     int left_indent) {
        testing::write_bytes(dir.file("report.txt"), bytes);
        PrintJob& j = job();
        j.LinesPerPage = static_cast<std::int16_t>(lines_per_page);
        j.CharsPerLine = static_cast<std::int16_t>(chars_per_line);
        j.LeftIndent = static_cast<std::int16_t>(left_indent);
        j.PageNumber = 0;
        j.SourceDone = false;
        source_file().open(dir.file("report.txt"));
    }

    TempDir dir;
};

TEST_F(ReadPage, CutsIndentsAndNumbersPages) {
    open_source("abcdefg\r\n\r\nxy\r\nz\r\n", 3, 5, 2);
    read_page();
    EXPECT_EQ(job().PageText, "\r\n\r\n  abcde\r\n  \r\n  xy\r\n");
    EXPECT_EQ(job().PrintText, job().PageText);
    EXPECT_EQ(job().PageNumber, 1);
    EXPECT_FALSE(job().SourceDone);
    read_page();
    EXPECT_EQ(job().PageText, "\r\n\r\n  z\r\n");
    EXPECT_EQ(job().PageNumber, 2);
    EXPECT_TRUE(job().SourceDone);
}

struct PagesCase {
    const char* name;
    std::string source;
    int lines_per_page;
    std::vector<std::string> pages; // bodies after the two empty lines
};

TEST_F(ReadPage, FormFeedsEndPagesAndNeverYieldAnEmptyOne) {
    const PagesCase cases[] = {
        {"a form-feed line between two lines", "a\r\n\f\r\nb\r\n", 60, {"a\r\n", "b\r\n"}},
        {"text before a form feed ends the page, text after it begins the next",
         "w\r\nx\fy\r\nv\r\n",
         60,
         {"w\r\nx\r\n", "y\r\nv\r\n"}},
        {"the next page's first line after the form feed, on a full page",
         "a\r\nb\r\n\fc\r\nd\r\n",
         2,
         {"a\r\nb\r\n", "c\r\nd\r\n"}},
        {"a page's last line and its form feed", "a\fb\f\r\n\fc", 60, {"a\r\n", "b\r\n", "c\r\n"}},
        {"each side of a form feed cut on its own",
         "abcdefg\fhijklmn\r\n",
         60,
         {"abcde\r\n", "hijkl\r\n"}},
        {"form feed right after a full page", "a\r\nb\r\n\f\r\nc\r\n", 2, {"a\r\nb\r\n", "c\r\n"}},
        {"two form-feed lines in a row", "a\r\n\f\r\n\f\r\nc\r\n", 60, {"a\r\n", "c\r\n"}},
        {"a form feed first", "\f\r\nq\r\n", 60, {"q\r\n"}},
        {"no line end at all", "only", 60, {"only\r\n"}},
        {"bold markers count in the cut",
         "\x02\x02"
         "abcdefg\r\n",
         60,
         {"\x02\x02"
          "abc\r\n"}},
        {"the text ends at the DOS end-of-file mark",
         "a\r\n\x1a"
         "b\r\n",
         60,
         {"a\r\n"}},
    };
    for (const PagesCase& c : cases) {
        open_source(c.source, c.lines_per_page, 5, 0);
        std::vector<std::string> pages;
        int number = 0;
        while (!job().SourceDone) {
            read_page();
            if (!job().PageText.empty()) {
                ASSERT_EQ(job().PageText.substr(0, 4), "\r\n\r\n") << c.name;
                pages.push_back(job().PageText.substr(4));
                EXPECT_EQ(job().PageNumber, ++number) << c.name;
            }
        }
        EXPECT_EQ(pages, c.pages) << c.name;
    }
}

TEST_F(ReadPage, ASourceEndingInAFormFeedEndsWithAnEmptyPage) {
    open_source("a\r\nb\r\n\f\r\n", 2, 5, 0);
    read_page();
    EXPECT_EQ(job().PageNumber, 1);
    EXPECT_FALSE(job().SourceDone);
    read_page();
    EXPECT_TRUE(job().PageText.empty());
    EXPECT_TRUE(job().SourceDone);
    EXPECT_EQ(job().PageNumber, 1);
}

TEST_F(ReadPage, EmptySourceAndReadingPastTheEnd) {
    open_source("", 60, 5, 0);
    read_page();
    EXPECT_TRUE(job().PageText.empty());
    EXPECT_TRUE(job().SourceDone);
    EXPECT_EQ(job().PageNumber, 0);

    open_source("a\r\n", 60, 5, 0);
    read_page();
    EXPECT_EQ(job().PageNumber, 1);
    job().PageText = "edited";
    read_page();
    EXPECT_TRUE(job().PageText.empty());
    EXPECT_TRUE(job().PrintText.empty());
    EXPECT_EQ(job().PageNumber, 1);
    EXPECT_TRUE(job().SourceDone);
}

TEST_F(ReadPage, WithoutAPlanItRefusesInsteadOfLoopingForever) {
    open_source("a\r\n", 0, 5, 0);
    EXPECT_THROW(read_page(), KvalonError);
}

TEST_F(ReadPage, LinesSpanningTheReadBufferStayWhole) {
    // The buffer holds 1 MiB: put a CR LF pair and a long line across its edge.
    const std::size_t edge = std::size_t{1} << 20;
    std::string source(edge - 1, 'a');
    source += "\r\nb";
    open_source(source, 60, 32000, 0);
    read_page();
    EXPECT_EQ(job().PageText, "\r\n\r\n" + std::string(32000, 'a') + "\r\nb\r\n");
    EXPECT_TRUE(job().SourceDone);
}

} // namespace
} // namespace kvalon
