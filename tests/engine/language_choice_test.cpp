// The language a report is read in when nobody said: Epson only when the
// text mode would lose its layout; every text report plans as it always has.
#include "engine/escp/epson_report_rule.h"
#include "engine/plan_layout.h"
#include "engine/print_job.h"
#include "engine/printer_language.h"
#include "tests/support/recording_surface.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <tuple>

namespace kvalon {
namespace {

std::string esc(const std::string& rest) {
    return "\x1b" + rest;
}

TEST(EpsonReportRule, LayoutCommandsAndWholeImagesMakeAnEpsonReport) {
    const std::string line = "Ред на отчета\r\n";
    const struct {
        std::string bytes;
        bool epson;
    } cases[] = {
        {line + "\f" + line, false},
        {esc("@") + esc("E") + line + esc("F") + esc("-1") + line + esc("-0"), false},
        {esc("4") + esc("W1") + esc("M") + esc("P") + esc("g") + "\x0f\x12" + line, false},
        {esc("x1") + esc("!") + std::string(1, '\0') + line, false},
        {esc("0") + line, true},
        {esc("1") + line, true},
        {esc("2") + line, true},
        {esc("3") + "\x18" + line, true},
        {esc("A") + "\x0c" + line, true},
        {esc("+") + "\x30" + line, true},
        {line + esc("J") + "\x40" + line, true},
        {esc("C") + "\x48" + line, true},
        {esc("C") + std::string(1, '\0') + "\x0c" + line, true},
        {esc("$") + "\x20" + std::string(1, '\0') + line, true},
        {esc("\\") + "\x20" + std::string(1, '\0') + line, true},
        {esc("l") + "\x05" + line, true},
        {esc("Q") + "\x50" + line, true},
        {esc("D") + "\x08\x10" + std::string(1, '\0') + line, true},
        {esc("B") + "\x04" + std::string(1, '\0') + line, true},
        {esc("(C") + std::string("\x02", 1) + std::string(1, '\0') + "\x10\x0e" + line, true},
        // Bit images whose data the report holds whole.
        {esc("K") + "\x03" + std::string(1, '\0') + "\xff\x81\xff" + line, true},
        {esc("*") + "\x27\x02" + std::string(1, '\0') + std::string(6, '\x7f') + line, true},
        // An image whose length runs past the report is letters of a text.
        {line + esc("K") + "AB" + line, false},
        {line + esc("L"), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(reads_as_epson(c.bytes), c.epson) << ::testing::PrintToString(c.bytes);
    }
}

std::string read_whole(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

class LanguageChoiceCorpus : public ::testing::Test {
protected:
    void SetUp() override { set_printer(&surface); }
    void TearDown() override {
        set_printer(nullptr);
        reset_job();
    }

    // The plan of the report in the language asked for, as planning leaves it.
    auto planned(const std::string& path, LanguageChoice choice) {
        reset_job();
        PrintJob& j = job();
        j.FontFace = "CourierCyr";
        j.ParamList = {path, "0", "8", ""};
        j.SourcePath = path;
        choose_language(j, choice);
        plan_layout();
        return std::make_tuple(language_of(j) == PrinterLanguage::Epson, j.LinesPerPage,
                               j.CharsPerLine, j.LongestLine, j.LineCount, j.PageCount, j.FontSize,
                               j.Orientation, j.LeftIndent, j.CharWidth, j.LineHeight, j.PaperName,
                               static_cast<int>(j.CodePage));
    }

    testing::RecordingSurface surface;
};

// Every report the tests and samples hold: the text ones plan exactly as in
// the text mode, the Epson ones with layout commands or images are told.
TEST_F(LanguageChoiceCorpus, TextReportsPlanAsTheyAlwaysHave) {
    const std::set<std::string> epson = {
        "escp-report.txt",
        "fixed",
        "images",
        "lists",
        "moves",
        "pages",
        "raster",
        "wrap_across",
        "escp_cut",
        "escp_fixed",
        "escp_images",
        "escp_lists",
        "escp_moves",
        "escp_pages",
        "escp_raster",
        "escp_wrap_across",
        "wrap_ends_one_line_double_width",
        "margin_drops_the_line",
        "whole_page_past_the_form",
    };
    const std::filesystem::path source = testing::source_dir();
    int reports = 0;
    for (const char* folder : {"samples", "fuzz/corpus/fuzz_filter_printer",
                               "fuzz/corpus/fuzz_print_source", "fuzz/corpus/fuzz_escp_reader"}) {
        for (const auto& entry : std::filesystem::directory_iterator(source / folder)) {
            const std::string path = entry.path().string();
            const std::string name = entry.path().filename().string();
            if (read_whole(path).size() > 200'000) {
                continue;
            }
            ++reports;
            try {
                const auto told = planned(path, LanguageChoice::Auto);
                EXPECT_EQ(std::get<0>(told), epson.count(name) == 1) << path;
                if (!std::get<0>(told)) {
                    EXPECT_EQ(told, planned(path, LanguageChoice::Text)) << path;
                }
            } catch (const std::exception&) {
                // A report the text mode refuses is refused alike.
                EXPECT_ANY_THROW(planned(path, LanguageChoice::Text)) << path;
            }
        }
    }
    EXPECT_GT(reports, 40);
}

} // namespace
} // namespace kvalon
