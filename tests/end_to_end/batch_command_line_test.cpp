#include "tests/support/pdf_tools.h"
#include "tests/support/test_files.h"

#include "build_info.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kvalon::testing {
namespace {

// The real program, printing into the PDF printer of a fresh folder.
class BatchCommandLine : public ::testing::Test {
protected:
    void SetUp() override {
        write_bytes(report(), "first line\r\nsecond line\r\n");
        env = {{"KVALON_PDF", dir.file("out.pdf")},
               {"HOME", dir.path()},
               {"XDG_DATA_HOME", dir.file("data")}};
    }

    RunResult run(std::vector<std::string> words, const std::string& cwd = {}) {
        words.insert(words.begin(), kvalon_binary());
        return run_program(words, env, {}, cwd);
    }

    std::string report() const { return dir.file("REPORT.TXT"); }
    std::string answer() const { return dir.file("TMPPRNT1.TMP"); }

    TempDir dir;
    std::map<std::string, std::string> env;
};

TEST_F(BatchCommandLine, PlanPrintsEveryFieldInOrder) {
    const RunResult result = run({"--plan", report()});
    ASSERT_EQ(result.status, 0) << result.err;
    std::vector<std::string> names;
    for (std::size_t at = 0; at < result.out.size();) {
        const auto end = result.out.find('\n', at);
        names.push_back(result.out.substr(at, result.out.find('=', at) - at));
        at = end + 1;
    }
    EXPECT_EQ(names, (std::vector<std::string>{
                         "PaperName", "PaperWidthMm", "PaperHeightMm", "LineCount", "LongestLine",
                         "FontSize", "Orientation", "CharsPerLine", "LinesPerPage", "LeftIndent",
                         "CharWidth", "LineHeight", "PageCount", "CodePage"}));
    const auto plan = parse_plan(result.out);
    EXPECT_EQ(plan.at("PaperName"), "A4, 210 x 297 mm ");
    EXPECT_EQ(plan.at("PaperWidthMm"), "210");
    EXPECT_EQ(plan.at("PaperHeightMm"), "297");
    EXPECT_EQ(plan.at("LineCount"), "2");
    EXPECT_EQ(plan.at("LongestLine"), "12"); // 11 is not longer than 12: not measured
    EXPECT_EQ(plan.at("FontSize"), "13");
    EXPECT_EQ(plan.at("Orientation"), "P");
    EXPECT_EQ(plan.at("PageCount"), "1");
    EXPECT_EQ(plan.at("CodePage"), "mik");
    EXPECT_EQ(plan.at("CharWidth").size(), plan.at("CharWidth").find('.') + 5);
    EXPECT_FALSE(file_exists(dir.file("out.pdf")));
    EXPECT_FALSE(file_exists(answer()));
}

TEST_F(BatchCommandLine, PlanNamesTheChosenPaper) {
    env["KVALON_PAPER"] = "1";
    const auto letter = parse_plan(run({"--plan", report()}).out);
    EXPECT_EQ(letter.at("PaperName"), "A4, 210 x 297 mm "); // printed on A4
    EXPECT_EQ(letter.at("PaperWidthMm"), "210");
    env["KVALON_PAPER"] = "8";
    const auto a3 = parse_plan(run({"--plan", report()}).out);
    EXPECT_EQ(a3.at("PaperName"), "A3, 297 x 420 mm ");
    EXPECT_EQ(a3.at("PaperHeightMm"), "419"); // 23811 twips are 419.9996 mm, truncated
}

TEST_F(BatchCommandLine, PlanOnlyWritesTheLinesPerPageBesideTheSource) {
    const std::string lines = parse_plan(run({"--plan", report()}).out).at("LinesPerPage");
    const std::vector<std::vector<std::string>> spellings = {
        {report(), "1"},     {report() + ",1"},     {report() + ",", "1"},
        {report() + ",1,8"}, {report(), "1", "13"}, {report(), "1", "8", "extra", "words"}};
    for (const auto& words : spellings) {
        write_bytes(answer(), "old content that is longer\r\n");
        const RunResult result = run(words);
        EXPECT_EQ(result.status, 0) << words[0] << result.err;
        EXPECT_EQ(read_bytes(answer()), lines + "\r\n") << words[0];
        EXPECT_FALSE(file_exists(dir.file("out.pdf"))) << words[0];
    }
}

TEST_F(BatchCommandLine, PrintActionLeavesAnOldAnswerAlone) {
    write_bytes(answer(), "17\r\n");
    for (const auto& words : std::vector<std::vector<std::string>>{{report()},
                                                                   {report(), "0"},
                                                                   {report(), "2"},
                                                                   {report(), "0", "10"},
                                                                   {report() + ",,,1"}}) {
        const RunResult result = run(words);
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(pdf_pages(dir.file("out.pdf")), 1);
    }
    EXPECT_EQ(read_bytes(answer()), "17\r\n");
}

TEST_F(BatchCommandLine, ABareFileNameAnswersInTheCurrentFolder) {
    const RunResult result = run({"REPORT.TXT", "1"}, dir.path());
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(file_exists(answer()));
}

TEST_F(BatchCommandLine, SizeWordStartsThePortraitSearch) {
    std::string wide(100, 'x');
    write_bytes(report(), wide + "\r\n");
    // 102 cells fit portrait A4 at 8 points but not at 10.
    EXPECT_EQ(parse_plan(run({"--plan", report(), "0", "8"}).out).at("Orientation"), "P");
    const auto from_ten = parse_plan(run({"--plan", report(), "0", "10"}).out);
    EXPECT_EQ(from_ten.at("Orientation"), "L");
}

struct RefusedCase {
    const char* name;
    std::vector<std::string> words;
    std::map<std::string, std::string> env;
    int status;
    std::string message; // the whole standard error line; {} = the report path
};

TEST_F(BatchCommandLine, RefusalsSayWhyAndExitWithTheirStatus) {
    const std::string path = report();
    const RefusedCase cases[] = {
        {"no print service",
         {path},
         {{"KVALON_PDF", ""}, {"CUPS_SERVER", "127.0.0.1:9"}},
         3,
         "Kvalon-P: Услугата за печат не отговаря: 127.0.0.1:9\n"},
        {"no print service, whatever the command line",
         {"/no/such/file", "1"},
         {{"KVALON_PDF", ""}, {"CUPS_SERVER", "127.0.0.1:9"}},
         3,
         "Kvalon-P: Услугата за печат не отговаря: 127.0.0.1:9\n"},
        {"missing file",
         {dir.file("NONE.TXT")},
         {},
         4,
         "Kvalon-P: Липсва файл " + dir.file("NONE.TXT") + "\n"},
        {"quotes are part of the name",
         {"\"" + path + "\""},
         {},
         4,
         "Kvalon-P: Липсва файл \"" + path + "\"\n"},
        {"a blank cuts a path that names no file",
         {dir.file("MY NOTE.TXT")},
         {},
         4,
         "Kvalon-P: Липсва файл " + dir.file("MY") + "\n"},
        {"a folder is not a file",
         {dir.path()},
         {},
         4,
         "Kvalon-P: Липсва файл " + dir.path() + "\n"},
        {"an action that is not a number",
         {path, "print"},
         {},
         2,
         "Kvalon-P: Неправилно действие в командния ред: print\n"},
    };
    for (const RefusedCase& c : cases) {
        auto saved = env;
        for (const auto& [name, value] : c.env) {
            env[name] = value;
        }
        write_bytes(dir.file("MY REPORT.TXT"), "x\r\n");
        const RunResult result = run(c.words);
        env = saved;
        EXPECT_EQ(result.status, c.status) << c.name;
        EXPECT_EQ(result.err, c.message) << c.name;
        EXPECT_FALSE(file_exists(answer())) << c.name;
        EXPECT_FALSE(file_exists(dir.file("out.pdf"))) << c.name;
    }
}

TEST_F(BatchCommandLine, ALineTooLongForTheCountIsAFailedJob) {
    write_bytes(report(), std::string(32766, 'x') + "\r\n");
    const RunResult result = run({report()});
    EXPECT_EQ(result.status, 5);
    EXPECT_EQ(result.err, "Kvalon-P: Ред, по-дълъг от 32765 символа, във файл " + report() + "\n");
    EXPECT_FALSE(file_exists(dir.file("out.pdf")));
}

TEST_F(BatchCommandLine, HelpVersionAndUnknownOptions) {
    const RunResult help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--plan"), std::string::npos);
    EXPECT_NE(help.out.find("Изходен код"), std::string::npos);
    const RunResult version = run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("kvalon-p ") + build_info::version_text + "\n");
    const RunResult unknown = run({"--colour", report()});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("--colour"), std::string::npos);
    EXPECT_NE(unknown.err.find("Употреба"), std::string::npos);
    EXPECT_FALSE(file_exists(dir.file("out.pdf")));
}

} // namespace
} // namespace kvalon::testing
