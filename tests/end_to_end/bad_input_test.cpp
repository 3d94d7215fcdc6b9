// Whatever file a DOS program hands over, the real program either prints
// every page or says in Bulgarian what went wrong and exits non-zero.
#include "tests/end_to_end/pdf_run.h"
#include "tests/support/pdf_tools.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace kvalon::testing {
namespace {

class BadInput : public PdfRun {};

TEST_F(BadInput, UnusablePathsAreNamedAndNothingIsPrinted) {
    std::filesystem::create_directory(dir.file("folder"));
    struct Case {
        std::string path;
        int status;
        std::string message;
    };
    const Case cases[] = {
        {dir.file("folder"), 4, "Липсва файл " + dir.file("folder")},
        {dir.file("missing.txt"), 4, "Липсва файл " + dir.file("missing.txt")},
        // Blanks and commas of a name that names no file separate the
        // words, as DOS callers write them.
        {dir.file("my report.txt"), 4, "Липсва файл " + dir.file("my") + "\n"},
        {dir.file("a,b.txt"), 4, "Липсва файл " + dir.file("a") + "\n"},
        {"\"" + dir.file("a") + "\"", 4, "Липсва файл \"" + dir.file("a") + "\"\n"},
    };
    for (const Case& c : cases) {
        const RunResult result = run({c.path});
        EXPECT_EQ(result.status, c.status) << c.path;
        EXPECT_NE(result.err.find("Kvalon-P: " + c.message), std::string::npos)
            << c.path << ": " << result.err;
    }
    expect_no_document();
}

TEST_F(BadInput, NamesWithQuotesAndOtherLettersPrint) {
    const std::string names[] = {"it's \"q\".txt", "отчет.txt", "\xae\xe2\xe7\xa5\xe2.txt",
                                 "my report.txt", "a,b 0.txt"};
    for (const std::string& name : names) {
        write_bytes(dir.file(name), numbered_lines(3));
        std::filesystem::remove(pdf());
        const RunResult result = run({dir.file(name)});
        EXPECT_EQ(result.status, 0) << name << ": " << result.err;
        EXPECT_EQ(pdf_pages(pdf()), 1) << name;
    }
    // The PDF target too may have any letters.
    const std::string target = dir.file("изход 1.pdf");
    const RunResult result = run_program({kvalon_binary(), "--pdf", target, dir.file("отчет.txt")},
                                         {{"HOME", dir.path()}});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(pdf_pages(target), 1);
}

TEST_F(BadInput, AnUnreadableFileIsAReadFailure) {
    const std::string path = dir.file("secret.txt");
    write_bytes(path, "a\r\n");
    ::chmod(path.c_str(), 0);
    std::vector<std::string> words = {kvalon_binary(), path};
    // Root reads anything; without these capabilities it obeys the permissions.
    if (::geteuid() == 0) {
        words.insert(words.begin(),
                     {"setpriv", "--bounding-set=-dac_override,-dac_read_search", "--"});
    }
    const RunResult result = run_program(words, {{"KVALON_PDF", pdf()}, {"HOME", dir.path()}});
    EXPECT_EQ(result.status, 5);
    EXPECT_NE(
        result.err.find("Kvalon-P: Файлът не може да бъде прочетен: " + path + " (отказан достъп)"),
        std::string::npos)
        << result.err;
    expect_no_document();
}

TEST_F(BadInput, BinaryFilesPrintOrFailClearly) {
    std::mt19937 random(7);
    std::string noise(256 * 1024, '\0');
    for (char& c : noise) {
        c = static_cast<char>(random() % 256);
        // Without end-of-file marks the whole noise is read.
        c = c == 26 ? 'x' : c;
    }
    write_bytes(dir.file("noise.bin"), noise);
    write_bytes(dir.file("program.bin"), read_bytes("/bin/true"));
    write_bytes(dir.file("sample.txt"), numbered_lines(120));
    ASSERT_EQ(run({dir.file("sample.txt")}).status, 0);
    write_bytes(dir.file("document.bin"), read_bytes(pdf()));
    for (const std::string name : {"noise.bin", "program.bin", "document.bin"}) {
        std::filesystem::remove(pdf());
        const RunResult planned = run({"--plan", dir.file(name)});
        const RunResult printed = run({dir.file(name)});
        ASSERT_LT(printed.status, 128) << name << " crashed";
        if (planned.status != 0) {
            EXPECT_EQ(printed.status, 5) << name;
            EXPECT_NE(printed.err.find("Kvalon-P: Ред, по-дълъг от 32765 символа"),
                      std::string::npos)
                << name << ": " << printed.err;
        } else if (printed.status == 0) {
            EXPECT_GE(pdf_pages(pdf()), 1) << name;
        } else {
            // Every line of it held a form feed or the end mark came first.
            EXPECT_EQ(printed.status, 5) << name;
            EXPECT_NE(printed.err.find("е с нулева дължина"), std::string::npos)
                << name << ": " << printed.err;
            EXPECT_FALSE(file_exists(pdf())) << name;
        }
    }
}

TEST_F(BadInput, LineLengthLimitIsExact) {
    write_bytes(dir.file("limit.txt"), std::string(32765, 'a') + "\r\nb\r\n");
    write_bytes(dir.file("long.txt"), "x\r\n" + std::string(40000, 'a') + "\r\n");
    EXPECT_EQ(run({dir.file("limit.txt")}).status, 0);
    EXPECT_EQ(pdf_pages(pdf()), 1);
    std::filesystem::remove(pdf());
    const RunResult result = run({dir.file("long.txt")});
    EXPECT_EQ(result.status, 5);
    EXPECT_NE(result.err.find("Kvalon-P: Ред, по-дълъг от 32765 символа, във файл " +
                              dir.file("long.txt")),
              std::string::npos)
        << result.err;
    expect_no_document();
}

TEST_F(BadInput, ReportsWithNothingToPrintAreToldAsEmpty) {
    const std::pair<std::string, std::string> cases[] = {
        {"empty.txt", ""},
        {"feeds.txt", "\f\r\n\f\r\n\f\r\n\f"},
        {"marked.txt", "\x1a"
                       "after the end mark\r\n"},
    };
    for (const auto& [name, bytes] : cases) {
        write_bytes(dir.file(name), bytes);
        const RunResult result = run({dir.file(name)});
        EXPECT_EQ(result.status, 5) << name;
        EXPECT_NE(result.err.find("Kvalon-P: Файл " + dir.file(name) + " е с нулева дължина"),
                  std::string::npos)
            << name << ": " << result.err;
    }
    expect_no_document();
}

} // namespace
} // namespace kvalon::testing
