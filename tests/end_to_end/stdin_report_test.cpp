#include "tests/support/pdf_tools.h"
#include "tests/support/test_files.h"
#include "tests/support/wait_until.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <regex>
#include <sys/wait.h>
#include <unistd.h>

namespace kvalon::testing {
namespace {

// A report with what DOS programs put in: MIK letters, a box frame, the bold
// byte, printer control bytes, a NUL and a form feed between two pages.
std::string two_page_report() {
    std::string text = to_mik("┌──────────┐\r\n│ Отчет №1 │\r\n└──────────┘\r\n");
    text += std::string("\x1b@\x0f") + "\x02" + to_mik("Сума") + "\x02 12.50" + '\0' + "\r\n";
    text += "\f\r\n" + to_mik("Втора страница") + "\r\n";
    return text;
}

// The program run once on a file and once on the same bytes through a pipe,
// each into the PDF printer; the copy of standard input goes to a private
// TMPDIR so the test sees what is left behind.
class StandardInput : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directory(temporary());
        std::filesystem::create_directory(work());
        env = {{"KVALON_PDF", dir.file("out.pdf")},
               {"HOME", dir.path()},
               {"XDG_DATA_HOME", dir.file("data")},
               {"XDG_RUNTIME_DIR", dir.path()},
               {"TMPDIR", temporary()}};
    }

    RunResult run(std::vector<std::string> words, const std::string& input = {}) {
        words.insert(words.begin(), kvalon_binary());
        return run_program(words, env, input, work());
    }

    // Copies of standard input still in the temporary folder.
    std::vector<std::string> leftovers() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(temporary())) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    std::string temporary() const { return dir.file("tmp"); }
    std::string work() const { return dir.file("work"); }
    std::string report() const { return dir.file("REPORT.TXT"); }

    TempDir dir;
    std::map<std::string, std::string> env;
};

TEST_F(StandardInput, PipedReportPrintsTheSamePagesAsTheFile) {
    write_bytes(report(), two_page_report());
    const std::vector<std::pair<std::vector<std::string>, std::vector<std::string>>> spellings = {
        {{report()}, {"-"}},
        {{report(), "0", "10"}, {"-", "0", "10"}},
        {{report() + ",0,10"}, {"-,0,10"}},
    };
    for (const auto& [file_words, pipe_words] : spellings) {
        env["KVALON_PDF"] = dir.file("from-file.pdf");
        const RunResult from_file = run(file_words);
        env["KVALON_PDF"] = dir.file("from-pipe.pdf");
        const RunResult from_pipe = run(pipe_words, two_page_report());
        ASSERT_EQ(from_file.status, 0) << from_file.err;
        ASSERT_EQ(from_pipe.status, 0) << from_pipe.err;
        EXPECT_EQ(from_pipe.err, "");
        EXPECT_EQ(pdf_pages(dir.file("from-pipe.pdf")), 2) << pipe_words[0];
        EXPECT_EQ(pdf_info(dir.file("from-pipe.pdf"))["Page size"],
                  pdf_info(dir.file("from-file.pdf"))["Page size"]);
        const auto file_words_seen = pdf_words(dir.file("from-file.pdf"));
        const auto pipe_words_seen = pdf_words(dir.file("from-pipe.pdf"));
        ASSERT_EQ(pipe_words_seen.size(), file_words_seen.size()) << pipe_words[0];
        for (std::size_t i = 0; i < file_words_seen.size(); ++i) {
            EXPECT_EQ(pipe_words_seen[i].text, file_words_seen[i].text);
            EXPECT_EQ(pipe_words_seen[i].page, file_words_seen[i].page);
            EXPECT_DOUBLE_EQ(pipe_words_seen[i].x_min, file_words_seen[i].x_min);
            EXPECT_DOUBLE_EQ(pipe_words_seen[i].y_min, file_words_seen[i].y_min);
        }
        EXPECT_TRUE(leftovers().empty());
    }
}

TEST_F(StandardInput, PlanOnlyAnswersInTheCurrentFolder) {
    write_bytes(report(), two_page_report());
    ASSERT_EQ(run({report(), "1"}).status, 0);
    const std::string beside_file = read_bytes(dir.file("TMPPRNT1.TMP"));
    ASSERT_FALSE(beside_file.empty());
    for (const std::vector<std::string>& words :
         {std::vector<std::string>{"-", "1"}, {"-,1"}, {"-", "1", "8"}}) {
        std::filesystem::remove(dir.file("work/TMPPRNT1.TMP"));
        const RunResult result = run(words, two_page_report());
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(read_bytes(dir.file("work/TMPPRNT1.TMP")), beside_file) << words[0];
        EXPECT_TRUE(leftovers().empty()) << "nothing beside the temporary copy either";
        EXPECT_FALSE(file_exists(dir.file("out.pdf")));
    }
}

TEST_F(StandardInput, EmptyInputBehavesLikeAnEmptyFile) {
    write_bytes(report(), "");
    const RunResult from_file = run({report()});
    const RunResult from_pipe = run({"-"});
    EXPECT_EQ(from_pipe.status, from_file.status);
    EXPECT_EQ(from_pipe.out, from_file.out);
    // A message names the file; the report on standard input is named as such,
    // never by the private copy.
    EXPECT_EQ(std::regex_replace(from_pipe.err, std::regex("стандартен вход"), "REPORT"),
              std::regex_replace(from_file.err, std::regex(report()), "REPORT"));
    EXPECT_EQ(file_exists(dir.file("out.pdf")), false);
    EXPECT_TRUE(leftovers().empty());
}

TEST_F(StandardInput, TheCopyIsRemovedOnEveryPath) {
    struct Case {
        const char* name;
        std::vector<std::string> words;
        std::map<std::string, std::string> env;
        std::string input;
        int status;
    };
    const Case cases[] = {
        {"printed", {"-"}, {}, "x\r\n", 0},
        {"planned", {"--plan", "-"}, {}, "x\r\n", 0},
        {"no printer", {"-"}, {{"KVALON_PDF", ""}, {"CUPS_SERVER", "127.0.0.1:9"}}, "x\r\n", 3},
        {"action not a number", {"-", "print"}, {}, "x\r\n", 2},
        {"line too long", {"-"}, {}, std::string(32766, 'x') + "\r\n", 5},
        {"unwritable PDF", {"-"}, {{"KVALON_PDF", "/no/such/folder/out.pdf"}}, "x\r\n", 5},
    };
    for (const Case& c : cases) {
        auto saved = env;
        for (const auto& [name, value] : c.env) {
            env[name] = value;
        }
        const RunResult result = run(c.words, c.input);
        env = saved;
        EXPECT_EQ(result.status, c.status) << c.name << ": " << result.err;
        EXPECT_TRUE(leftovers().empty()) << c.name;
    }
}

TEST_F(StandardInput, ATemporaryFolderWithABlankIsNotUsed) {
    // The copy's path travels through the command line, which ends a path at
    // a blank or a comma.
    for (const char* name : {"with blank", "with,comma"}) {
        const std::string odd = dir.file(name);
        std::filesystem::create_directory(odd);
        env["TMPDIR"] = odd;
        const RunResult result = run({"-"}, "x\r\n");
        EXPECT_EQ(result.status, 0) << name << ": " << result.err;
        EXPECT_EQ(pdf_pages(dir.file("out.pdf")), 1) << name;
        EXPECT_TRUE(std::filesystem::is_empty(odd)) << name;
    }
}

TEST_F(StandardInput, EndingSignalsRemoveTheCopy) {
    for (const int signal_number : {SIGTERM, SIGINT, SIGHUP}) {
        // The pipe stays open, as a DOS emulator keeps its printer port open
        // until the job's idle time ends.
        const StartedProgram child = start_program({kvalon_binary(), "-"}, env);
        ASSERT_GT(child.pid, 0);
        ASSERT_EQ(write(child.input, "x\r\n", 3), 3);
        wait_until([&] { return !leftovers().empty(); });
        ASSERT_EQ(leftovers().size(), 1u) << "the copy exists while input is read";
        // The copy's mode: private to the user.
        const auto copy = std::filesystem::path(temporary()) / leftovers().front();
        EXPECT_EQ(std::filesystem::status(copy).permissions() & std::filesystem::perms::all,
                  std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
        kill(child.pid, signal_number);
        int status = 0;
        waitpid(child.pid, &status, 0);
        close(child.input);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal_number) << signal_number;
        EXPECT_TRUE(leftovers().empty()) << signal_number;
    }
}

} // namespace
} // namespace kvalon::testing
