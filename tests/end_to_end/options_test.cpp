#include "tests/support/pdf_tools.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

namespace kvalon::testing {
namespace {

// The options in front of the DOS command line, run through the real program
// with no CUPS server in reach, so that only the PDF printer exists.
class Options : public ::testing::Test {
protected:
    void SetUp() override {
        write_bytes(report(), "first line\r\nsecond line\r\n");
        env = {{"KVALON_PDF", ""},
               {"KVALON_PAPER", ""},
               {"HOME", dir.path()},
               {"XDG_DATA_HOME", dir.file("data")},
               {"CUPS_SERVER", "127.0.0.1:9"}};
    }

    RunResult run(std::vector<std::string> words) {
        words.insert(words.begin(), kvalon_binary());
        return run_program(words, env, {}, dir.path());
    }

    std::string report() const { return dir.file("REPORT.TXT"); }

    TempDir dir;
    std::map<std::string, std::string> env;
};

TEST_F(Options, PdfWritesThatFileInEitherSpelling) {
    env["KVALON_PDF"] = dir.file("from-environment.pdf");
    for (const std::vector<std::string>& words :
         {std::vector<std::string>{"--pdf", dir.file("a.pdf"), report()},
          {"--pdf=" + dir.file("a.pdf"), report()}}) {
        const RunResult result = run(words);
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(pdf_pages(dir.file("a.pdf")), 1) << words[0];
        EXPECT_FALSE(file_exists(dir.file("from-environment.pdf"))) << "--pdf wins";
    }
}

TEST_F(Options, PaperChoosesThePdfPrintersSheet) {
    struct Case {
        std::vector<std::string> words;
        const char* environment_paper;
        const char* page_size;
    };
    const Case cases[] = {
        {{}, "", "595 x 842 pts (A4)"},
        {{"--paper", "8"}, "", "842 x 1191 pts (A3)"},
        {{"--paper=11"}, "", "420 x 595 pts (A5)"},
        {{}, "8", "842 x 1191 pts (A3)"},
        {{"--paper", "11"}, "8", "420 x 595 pts (A5)"}, // the option wins
        {{"--paper", "1"}, "", "595 x 842 pts (A4)"},   // Letter is printed on A4
    };
    for (const Case& c : cases) {
        std::vector<std::string> words = {"--pdf", dir.file("out.pdf")};
        words.insert(words.end(), c.words.begin(), c.words.end());
        words.push_back(report());
        env["KVALON_PAPER"] = c.environment_paper;
        const RunResult result = run(words);
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(pdf_info(dir.file("out.pdf"))["Page size"], c.page_size)
            << (c.words.empty() ? "" : c.words.back()) << " KVALON_PAPER=" << c.environment_paper;
    }
}

TEST_F(Options, CopiesOnThePdfPrinterAreRealCopies) {
    const RunResult result = run({"--pdf", dir.file("out.pdf"), "--copies", "3", report()});
    EXPECT_EQ(result.status, 0) << result.err;
    ASSERT_EQ(pdf_pages(dir.file("out.pdf")), 3);
    const std::vector<PdfWord> words = pdf_words(dir.file("out.pdf"));
    for (int page = 1; page <= 3; ++page) {
        EXPECT_TRUE(std::any_of(words.begin(), words.end(),
                                [page](const PdfWord& w) { return w.page == page; }))
            << "copy " << page << " is empty";
    }
}

TEST_F(Options, DoubleDashEndsTheOptions) {
    write_bytes(dir.file("--odd.txt"), "x\r\n");
    const RunResult result = run({"--pdf", dir.file("out.pdf"), "--", "--odd.txt"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(pdf_pages(dir.file("out.pdf")), 1);
}

TEST_F(Options, UnusableValuesAreRefusedBeforeAnythingIsPrinted) {
    struct Case {
        std::vector<std::string> words;
        std::map<std::string, std::string> env;
        int status;
        std::string message; // standard error begins with this line
        bool usage;          // followed by the usage text
    };
    const std::string pdf = dir.file("out.pdf");
    const std::string bad = "Kvalon-P: Неправилна опция в командния ред: ";
    const Case cases[] = {
        {{"--pdf"}, {}, 2, bad + "--pdf\n", true},
        {{"--printer"}, {}, 2, bad + "--printer\n", true},
        {{"--copies", "0", report()}, {}, 2, bad + "--copies 0\n", true},
        {{"--copies=-2", report()}, {}, 2, bad + "--copies -2\n", true},
        {{"--copies", "two", report()}, {}, 2, bad + "--copies two\n", true},
        // The print service's own bound: a million copies were a 642 MB PDF.
        {{"--copies", "10000", report()}, {}, 2, bad + "--copies 10000\n", true},
        {{"--paper", "A4", report()}, {}, 2, bad + "--paper A4\n", true},
        {{"--pdf", pdf, "--paper", "999", report()}, {}, 2, bad + "--paper 999\n", false},
        {{"--pdf", pdf, "--paper", "0", report()}, {}, 2, bad + "--paper 0\n", false},
        {{"--pdf", pdf, report()}, {{"KVALON_PAPER", "-3"}}, 2, bad + "KVALON_PAPER=-3\n", false},
        {{"--pdf", pdf, "-x", report()}, {}, 4, "Kvalon-P: Липсва файл -x\n", false},
        // Words are ours, never Qt's: "1" used to be taken as Qt's platform.
        {{"--pdf", pdf, "-platform", "1"}, {}, 4, "Kvalon-P: Липсва файл -platform\n", false},
        {{"--pdf", pdf, report()},
         {{"KVALON_SERVICE_WAIT", "0"}},
         2,
         bad + "KVALON_SERVICE_WAIT=0\n",
         false},
        {{"--pdf", pdf, "--pages", "1", report()}, {}, 2, bad + "--pages\n", true},
        // Two decimal commas and one more: which of them parts the numbers?
        {{"--pdf", pdf, "--offset", "1,5,2", report()}, {}, 2, bad + "--offset 1,5,2\n", true},
        {{"--pdf", pdf, "--offset=3", report()}, {}, 2, bad + "--offset 3\n", true},
        {{"--pdf", pdf, "--offset", "2mm,1", report()}, {}, 2, bad + "--offset 2mm,1\n", true},
        {{"--pdf", pdf, "--offset", "-101,0", report()}, {}, 2, bad + "--offset -101,0\n", true},
        {{"--pdf", pdf, "--offset", "nan,0", report()}, {}, 2, bad + "--offset nan,0\n", true},
        {{"--pdf", pdf, report()}, {{"KVALON_OFFSET", "1;"}}, 2, bad + "KVALON_OFFSET=1;\n", false},
        // --open chooses a report in the windows; it never prints one.
        {{"--open", report(), report()}, {}, 2, bad + "--open\n", true},
        // The windows' program answers it; a build without them says so.
        windows_program_built()
            ? Case{{"--pdf", pdf, "--open", dir.file("gone.txt")},
                   {},
                   4,
                   "Kvalon-P: Липсва файл " + dir.file("gone.txt") + "\n",
                   false}
            : Case{{"--pdf", pdf, "--open", dir.file("gone.txt")},
                   {},
                   2,
                   "Kvalon-P: Прозорците на програмата изискват пакета за работен плот "
                   "kvalon-p, а е инсталиран само сървърът за печат kvalon-p-server\n",
                   false},
        // --printer asks for a queue: with no print server in reach there is none.
        {{"--printer", "Office", report()},
         {{"KVALON_PDF", pdf}},
         3,
         "Kvalon-P: Услугата за печат не отговаря: 127.0.0.1:9\n",
         false},
    };
    for (const Case& c : cases) {
        auto saved = env;
        for (const auto& [name, value] : c.env) {
            env[name] = value;
        }
        const RunResult result = run(c.words);
        env = saved;
        EXPECT_EQ(result.status, c.status) << c.words[0] << " " << c.words[1];
        EXPECT_EQ(result.err.substr(0, c.message.size()), c.message) << result.err;
        EXPECT_EQ(result.err.find("Употреба:") != std::string::npos, c.usage) << c.message;
        EXPECT_FALSE(file_exists(pdf)) << c.message;
    }
}

} // namespace
} // namespace kvalon::testing
