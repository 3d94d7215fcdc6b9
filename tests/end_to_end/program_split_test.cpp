#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace kvalon::testing {
namespace {

namespace fs = std::filesystem;

std::string beside_program(const std::string& name) {
    return (fs::path(kvalon_binary()).parent_path() / name).string();
}

// A DOS caller's print and plan calls and the backend CUPS starts for every
// office job load no window library: its start-up cost every call, and a
// print server has none.
TEST(ProgramSplit, TheBatchProgramAndTheBackendLoadNoWindowLibrary) {
    for (const std::string& program : {kvalon_binary(), beside_program("kvalon")}) {
        const RunResult libraries = run_program({"ldd", program});
        ASSERT_EQ(libraries.status, 0) << libraries.err;
        for (const char* window_library : {"libQt", "libX11", "libxcb", "libGL"}) {
            EXPECT_EQ(libraries.out.find(window_library), std::string::npos)
                << program << " loads " << window_library;
        }
    }
}

// `kvalon-p` stays one command: without a report it hands its words to the
// windows' program, which only the desktop package installs.
TEST(ProgramSplit, WithoutAReportTheWindowsProgramTakesOverIfInstalled) {
    if (!windows_program_built()) {
        GTEST_SKIP() << kNoWindowsProgram;
    }
    TempDir dir;
    const std::map<std::string, std::string> env = {{"HOME", dir.path()},
                                                    {"KVALON_PDF", dir.file("out.pdf")},
                                                    {"QT_QPA_PLATFORM", "offscreen"}};
    // --open is the windows' own option: the answer comes from their program.
    const RunResult handed_over =
        run_program({kvalon_binary(), "--open", dir.file("missing.txt")}, env);
    EXPECT_EQ(handed_over.status, 4);
    EXPECT_EQ(handed_over.err, "Kvalon-P: Липсва файл " + dir.file("missing.txt") + "\n");

    // The server package alone: the batch program beside its font.
    fs::create_directories(dir.file("server"));
    fs::copy_file(kvalon_binary(), dir.file("server/kvalon-p"));
    fs::copy_file(beside_program("crcn.ttf"), dir.file("server/crcn.ttf"));
    for (const auto& words : {std::vector<std::string>{}, {"--open", dir.file("missing.txt")}}) {
        std::vector<std::string> argv{dir.file("server/kvalon-p")};
        argv.insert(argv.end(), words.begin(), words.end());
        const RunResult alone = run_program(argv, env);
        EXPECT_EQ(alone.status, 2);
        EXPECT_EQ(alone.err, "Kvalon-P: Прозорците на програмата изискват пакета за работен плот "
                             "kvalon-p, а е инсталиран само сървърът за печат kvalon-p-server\n");
    }
    // It prints all the same.
    write_bytes(dir.file("REPORT.TXT"), "ред\r\n");
    const RunResult printed =
        run_program({dir.file("server/kvalon-p"), dir.file("REPORT.TXT")}, env);
    EXPECT_EQ(printed.status, 0) << printed.err;
    EXPECT_TRUE(file_exists(dir.file("out.pdf")));
}

// The batch program loads the print service's library at its first call to
// it: a PDF prints without it, and a queue asked for without it is the print
// service's failure, not a fault of the program.
TEST(ProgramSplit, WithoutThePrintServiceLibraryAPdfPrintsAndAQueueIsRefused) {
    TempDir dir;
    write_bytes(dir.file("libcups.so.2"), "not a library");
    write_bytes(dir.file("REPORT.TXT"), "ред\r\n");
    const std::map<std::string, std::string> env = {{"HOME", dir.path()},
                                                    {"LD_LIBRARY_PATH", dir.path()}};
    const RunResult to_pdf =
        run_program({kvalon_binary(), "--pdf", dir.file("out.pdf"), dir.file("REPORT.TXT")}, env);
    EXPECT_EQ(to_pdf.status, 0) << to_pdf.err;
    EXPECT_TRUE(file_exists(dir.file("out.pdf")));

    const RunResult to_queue =
        run_program({kvalon_binary(), "--printer", "Office", dir.file("REPORT.TXT")}, env);
    EXPECT_EQ(to_queue.status, 3);
    EXPECT_EQ(to_queue.err.rfind("Kvalon-P: Библиотеката на услугата за печат не може да бъде "
                                 "заредена: libcups.so.2 (" +
                                     dir.file("libcups.so.2"),
                                 0),
              0u)
        << to_queue.err;
    EXPECT_EQ(to_queue.out, "");
}

} // namespace
} // namespace kvalon::testing
