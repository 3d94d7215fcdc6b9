// Reports full of printer sequences, printed as text (--text), come out
// exactly as they always did: the same plan, the same drawing calls, the same
// TMPPRNT1.TMP. The expected values were taken from the program before the
// mode existed.
#include "engine/error_report.h"
#include "engine/print_job.h"
#include "startup/start_sequence.h"
#include "tests/support/recording_surface.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

namespace kvalon {
namespace {

using testing::RecordingSurface;
using testing::to_mik;

struct Outcome {
    int status = -1;
    std::string output; // standard output (the --plan lines)
    std::string messages;
};

// FNV-1a over the drawing log: a long log held to one number.
std::uint64_t digest(const std::string& text) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : text) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    }
    return hash;
}

class DefaultModeHold : public ::testing::Test {
protected:
    void TearDown() override {
        reset_job();
        set_printer(nullptr);
    }

    Outcome run(const std::string& arguments, bool plan = false, bool fit_pages = false) {
        reset_job();
        surface = RecordingSurface{};
        Outcome outcome;
        ProgramOptions options;
        options.plan = plan;
        options.language = LanguageChoice::Text;
        options.fit_pages = fit_pages;
        options.argument_text = arguments;
        StartHooks hooks;
        hooks.printer_count = [] { return 1; };
        hooks.bind_printer = [this] { set_printer(&surface); };
        hooks.install_font = [] {};
        hooks.run_interactive = [] { return -1; };
        hooks.write_output = [&outcome](const std::string& text) { outcome.output += text; };
        try {
            outcome.status = run_start_sequence(options, hooks);
        } catch (const KvalonError& error) {
            outcome.messages = message_for(error);
            outcome.status = exit_status_for(error);
        }
        close_job_files();
        return outcome;
    }

    // The three answers of the program for one report.
    void expect_held(const std::string& bytes, const std::string& plan, std::size_t log_lines,
                     std::uint64_t log_digest, const std::string& answer) {
        const std::string path = dir.file("REPORT.TXT");
        testing::write_bytes(path, bytes);
        EXPECT_EQ(run(path, true).output, plan);
        EXPECT_EQ(run(path + " 1").status, 0);
        EXPECT_EQ(testing::read_bytes(dir.file("TMPPRNT1.TMP")), answer);
        EXPECT_EQ(run(path).status, 0);
        EXPECT_EQ(surface.log.size(), log_lines);
        EXPECT_EQ(digest(surface.joined_log()), log_digest) << surface.joined_log();
    }

    testing::TempDir dir;
    RecordingSurface surface;
};

std::string escp_heading_report() {
    std::string text = "\x1b@\x1b"
                       "E\x1bx1" +
                       to_mik("СКЛАД \"ЗОРА\"") + "\x1b" + "F\r\n";
    text += "\x1b-1" + to_mik("Справка") + "\x1b-0 \x02" + to_mik("наличности") + "\x02\r\n";
    text += "\x0f" + to_mik("┌────┬──────┐") + "\x12\r\n";
    text += to_mik("│ №  │ ") + "\x1bW1" + to_mik("Да") + "\x1bW0" + to_mik("   │") + "\r\n";
    text += "\x1b!\x38" + to_mik("└────┴──────┘") + "\x1b!\x00" + "\r\n";
    text += "\x0c\r\n\x0e" + to_mik("Втора") + "\x14 \x1b" + "C\x42" + "x\x1b*\x00\x02\x00ab\r\n";
    return text;
}

std::string wide_table_report() {
    std::string text;
    for (int row = 0; row < 70; ++row) {
        text += "\x1b"
                "E" +
                std::to_string(row) + std::string(130, row % 2 == 0 ? '-' : '.') + "\x02" +
                to_mik("ред") + "\x02\r\n";
    }
    return text;
}

std::string bare_line_ends_report() {
    return "abc\rdef\nghi\r\n\x1b@\x1b\r\n\x0c"
           "x\x0cy\r\x1bK\x03\x00"
           "ABC\r\n\x1a"
           "rest";
}

TEST_F(DefaultModeHold, ReportWithPrinterSequences) {
    expect_held(escp_heading_report(),
                "PaperName=A4, 210 x 297 mm \nPaperWidthMm=210\nPaperHeightMm=297\n"
                "LineCount=6\nLongestLine=26\nFontSize=13\nOrientation=P\n"
                "CharsPerLine=68\nLinesPerPage=49\nLeftIndent=23\nCharWidth=2.8380\n"
                "LineHeight=5.1952\nPageCount=1\nCodePage=mik\n",
                251, 121240278271781224ULL, "49\r\n");
}

TEST_F(DefaultModeHold, WideReportInLandscape) {
    expect_held(wide_table_report(),
                "PaperName=A4, 210 x 297 mm \nPaperWidthMm=210\nPaperHeightMm=297\n"
                "LineCount=70\nLongestLine=139\nFontSize=9\nOrientation=L\n"
                "CharsPerLine=146\nLinesPerPage=48\nLeftIndent=7\nCharWidth=1.9039\n"
                "LineHeight=3.5967\nPageCount=2\nCodePage=mik\n",
                10076, 17559917343696202460ULL, "48\r\n");
}

// The drawing differs from the old program's in one place only: x and y
// beside the form feeds print, each on a page of its own, where the old one
// dropped their line; the plan and the answer are the old program's.
TEST_F(DefaultModeHold, BareLineEndsAndEndMark) {
    expect_held(bare_line_ends_report(),
                "PaperName=A4, 210 x 297 mm \nPaperWidthMm=210\nPaperHeightMm=297\n"
                "LineCount=5\nLongestLine=9\nFontSize=13\nOrientation=P\n"
                "CharsPerLine=68\nLinesPerPage=49\nLeftIndent=31\nCharWidth=2.8380\n"
                "LineHeight=5.1952\nPageCount=1\nCodePage=mik\n",
                215, 6726016690639986396ULL, "49\r\n");
}

// Twelve pages of 59 lines, each ended by a form feed, where a sheet holds
// fewer lines: as it always was, each page runs onto a second sheet; asked
// for, each is one sheet, at a smaller size.
std::string twelve_pages(bool feed_before_first_line) {
    std::string text;
    for (int page = 1; page <= 12; ++page) {
        for (int row = 1; row <= 59; ++row) {
            if (row == 1 && feed_before_first_line) {
                text += "\x0c";
            }
            text += to_mik("Стр. " + std::to_string(page) + " ред " + std::to_string(row)) + "\r\n";
        }
        if (!feed_before_first_line) {
            text += "\x0c\r\n";
        }
    }
    return text;
}

TEST_F(DefaultModeHold, FormFeedPagesFitOnOneSheetOnlyWhenAsked) {
    const std::string text = twelve_pages(false);
    const std::string path = dir.file("PAGES.TXT");
    testing::write_bytes(path, text);
    const auto sheets = [this] {
        return std::count_if(surface.log.begin(), surface.log.end(), [](const std::string& line) {
            return line == "NewPage" || line == "EndDoc";
        });
    };
    EXPECT_EQ(run(path, true).output,
              "PaperName=A4, 210 x 297 mm \nPaperWidthMm=210\nPaperHeightMm=297\n"
              "LineCount=708\nLongestLine=14\nFontSize=13\nOrientation=P\n"
              "CharsPerLine=68\nLinesPerPage=49\nLeftIndent=29\nCharWidth=2.8380\n"
              "LineHeight=5.1952\nPageCount=15\nCodePage=mik\n");
    EXPECT_EQ(run(path).status, 0);
    EXPECT_EQ(sheets(), 24);

    const std::string fitted_plan = run(path, true, true).output;
    EXPECT_NE(fitted_plan.find("FitPages=1\n"), std::string::npos) << fitted_plan;
    EXPECT_EQ(run(path, false, true).status, 0);
    EXPECT_EQ(sheets(), 12);
}

// Written as many DOS programs write them, a form feed and then the page's
// first line: that line belongs to the page, so the page is fitted with it.
TEST_F(DefaultModeHold, PagesThatBeginWithAFormFeedAndTheirFirstLineFitWithIt) {
    const std::string path = dir.file("FEEDS.TXT");
    testing::write_bytes(path, twelve_pages(true));
    EXPECT_EQ(run(path, false, true).status, 0);
    EXPECT_EQ(std::count(surface.log.begin(), surface.log.end(), "NewPage"), 11);
}

} // namespace
} // namespace kvalon
