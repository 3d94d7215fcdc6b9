// Documents passed on into the PDF printer as a hostile or unlucky user hands
// them over: names Ghostscript could take for a command, a device or its own
// switches, PostScript that reaches for other files, a conversion cut short
// by a signal, documents that are no document, too large or too many sheets.
#include "tests/support/pdf_tools.h"
#include "tests/support/test_files.h"
#include "tests/support/wait_until.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace kvalon::testing {
namespace {

namespace fs = std::filesystem;

const std::string kHello = "%!PS\n/Courier findfont 20 scalefont setfont\n"
                           "72 400 moveto (Hello) show showpage\n";

class DocumentSandbox : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directory(temporary()); }
    // The program in the test's folder, its temporary folder one of the
    // test's own.
    RunResult kvalon(std::vector<std::string> words, const std::string& target = "out.pdf") {
        words.insert(words.begin(), kvalon_binary());
        return run_program(words, environment(target), {}, dir.path());
    }
    std::map<std::string, std::string> environment(const std::string& target) const {
        return {{"KVALON_PDF", target}, {"HOME", dir.path()}, {"TMPDIR", temporary()}};
    }
    std::string document(const std::string& name, const std::string& bytes) const {
        write_bytes(dir.file(name), bytes);
        return dir.file(name);
    }
    std::string temporary() const { return dir.file("tmp"); }
    std::string page_text(const std::string& pdf) const {
        std::string text;
        for (const PdfWord& word : pdf_words(pdf)) {
            text += (text.empty() ? "" : " ") + word.text;
        }
        return text;
    }
    TempDir dir;
};

TEST_F(DocumentSandbox, NoNameIsTakenForACommandADeviceOrSwitches) {
    fs::create_directory(dir.file("%pipe%touch PWNED; x"));
    write_bytes(dir.file("args"), "-dNOSAFER\n");
    struct Case {
        std::string report;
        std::string target;
    };
    const Case cases[] = {
        {"hello.ps", "%pipe%touch PWNED; x/r.pdf"},
        {"%pipe%id>PWNED2", "out.pdf"},
        {"@args", "out.pdf"},
        {"hello.ps", "Отчет 100%.pdf"},
        {"hello.ps", "50%-off.pdf"},
        {"hello.ps", "n%d.pdf"},
    };
    for (const Case& c : cases) {
        document(c.report, kHello);
        const RunResult printed = kvalon({c.report}, c.target);
        ASSERT_EQ(printed.status, 0) << c.report << " -> " << c.target << ": " << printed.err;
        EXPECT_EQ(page_text(dir.file(c.target)), "Hello") << c.target;
        fs::remove(dir.file(c.target));
    }
    EXPECT_FALSE(file_exists(dir.file("PWNED")));
    EXPECT_FALSE(file_exists(dir.file("PWNED2")));
    EXPECT_FALSE(file_exists(dir.file("n1.pdf")));
}

// What gs permits its temporary folder is a folder of ours that only it uses:
// the files of the temporary folder the user has stay out of its reach, and
// a document cannot send the rest of its pages elsewhere.
TEST_F(DocumentSandbox, AHostileDocumentReachesNoOtherFileAndKeepsItsPages) {
    const std::string victim = temporary() + "/victim";
    write_bytes(victim, "secret");
    const std::string tmp = temporary();
    const std::string hostile =
        "%!PS\n/Courier findfont 12 scalefont setfont\n"
        "72 700 moveto { (" +
        tmp +
        "/W3) (w) file closefile (wrote) show } stopped "
        "{ (notwritten) show } if\n"
        "72 680 moveto { (" +
        victim +
        ") deletefile (deleted) show } stopped "
        "{ (notdeleted) show } if\n"
        "72 660 moveto { (" +
        victim +
        ") (r) file 99 string readline pop show } stopped "
        "{ (notread) show } if\nshowpage\n"
        "{ << /OutputFile (" +
        tmp +
        "/elsewhere.pdf) >> setpagedevice } stopped pop\n"
        "/Courier findfont 12 scalefont setfont 72 600 moveto (second) show showpage\n";
    const RunResult printed = kvalon({document("hostile.ps", hostile)});
    ASSERT_EQ(printed.status, 0) << printed.err;
    EXPECT_EQ(page_text(dir.file("out.pdf")), "notwritten notdeleted notread second");
    EXPECT_EQ(pdf_pages(dir.file("out.pdf")), 2);
    EXPECT_EQ(read_bytes(victim), "secret");
    fs::remove(victim);
    EXPECT_TRUE(fs::is_empty(temporary()));
}

// The process whose parent is `parent`, or -1.
pid_t child_of(pid_t parent) {
    for (const auto& entry : fs::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string pid, name, state;
        pid_t parent_pid = 0;
        if (stat >> pid >> name >> state >> parent_pid && parent_pid == parent) {
            return std::stoi(pid);
        }
    }
    return -1;
}

// Waits until the program has gs running and gs's folder is in `folder`;
// gs's id, or -1.
pid_t converting_child(pid_t program, const std::string& folder) {
    pid_t gs = -1;
    if (!wait_until([&] {
            gs = child_of(program);
            return gs > 0 && !fs::is_empty(folder);
        })) {
        return -1;
    }
    return gs;
}

TEST_F(DocumentSandbox, AnEndingSignalEndsGhostscriptAndRemovesItsFiles) {
    const std::string endless = "%!PS\n/Courier findfont 12 scalefont setfont 72 700 moveto "
                                "(first) show showpage\n{ 1 pop } loop\n";
    const std::string path = document("endless.ps", endless);
    const StartedProgram program =
        start_program({kvalon_binary(), path}, environment(dir.file("out.pdf")));
    ASSERT_GT(program.pid, 0);
    const pid_t gs = converting_child(program.pid, temporary());
    ASSERT_GT(gs, 0);
    ::kill(program.pid, SIGTERM);
    ::close(program.input);
    int status = 0;
    ASSERT_EQ(::waitpid(program.pid, &status, 0), program.pid);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_NE(::kill(gs, 0), 0) << "gs is still there";
    EXPECT_TRUE(fs::is_empty(temporary()));
    EXPECT_FALSE(has_file_starting_with(dir.path(), ".out.pdf."));
}

// A run killed outright cannot remove gs's folder; the next conversion that
// makes one removes it.
TEST_F(DocumentSandbox, ALaterConversionRemovesTheFolderOfAKilledRun) {
    const std::string endless = "%!PS\n{ 1 pop } loop\n";
    const std::string path = document("endless.ps", endless);
    const StartedProgram program =
        start_program({kvalon_binary(), path}, environment(dir.file("out.pdf")));
    ASSERT_GT(program.pid, 0);
    const pid_t gs = converting_child(program.pid, temporary());
    ASSERT_GT(gs, 0);
    ::kill(program.pid, SIGKILL);
    ::kill(gs, SIGKILL); // nothing of ours is left to end it
    ::close(program.input);
    ::waitpid(program.pid, nullptr, 0);
    ASSERT_FALSE(fs::is_empty(temporary()));
    ASSERT_EQ(kvalon({document("hello.ps", kHello)}).status, 0);
    EXPECT_TRUE(fs::is_empty(temporary()));
    EXPECT_FALSE(has_file_starting_with(dir.path(), ".out.pdf."));
}

TEST_F(DocumentSandbox, WhatIsNoDocumentOrTooMuchIsRefusedAndNothingIsWritten) {
    std::string pages = "%!PS\n/Courier findfont 12 scalefont setfont\n";
    for (int i = 0; i < 400; ++i) {
        pages += "72 700 moveto (p) show showpage\n";
    }
    std::string report;
    for (int i = 0; i < 1200; ++i) {
        report += "line " + std::to_string(i) + "\r\n";
    }
    const std::string huge_pdf = document("huge.pdf", "%PDF-1.4\n");
    fs::resize_file(huge_pdf, std::uintmax_t{3} << 30);
    const std::string huge_ps = document("huge.ps", "%!PS\n");
    fs::resize_file(huge_ps, std::uintmax_t{3} << 30);
    struct Case {
        std::vector<std::string> words;
        std::string message;
    };
    const Case cases[] = {
        {{document("empty.pdf", "%PDF-1.4\n" + std::string(300, 'x'))},
         "Файлът не може да бъде прочетен: " + dir.file("empty.pdf") +
             " (документът PDF е непълен или повреден)"},
        {{document("comment.ps", "%!\x93\xA7 garbage without a line end")},
         "Отпечатаните страници са празни, въпреки че има какво да се печата във файл " +
             dir.file("comment.ps")},
        {{document("blank.ps", "%!PS\nshowpage showpage\n")}, "празни"},
        {{huge_pdf}, "Твърде голям отчет: " + huge_pdf + " (над 2147483648 байта)"},
        {{"--plan", huge_pdf}, "Твърде голям отчет: " + huge_pdf},
        {{huge_ps}, "Твърде голям отчет: " + huge_ps},
        {{"--copies", "1311", document("report.txt", report)},
         "Повече от 32767 страници във файл " + dir.file("report.txt") +
             " (1311 копия по 25 страници)"},
        {{"--copies", "100", document("pages.ps", pages)},
         "Повече от 32767 страници във файл " + dir.file("pages.ps") +
             " (100 копия по над 327 страници)"},
    };
    for (const Case& c : cases) {
        const RunResult refused = kvalon(c.words);
        EXPECT_EQ(refused.status, 5) << c.words.back();
        EXPECT_NE(refused.err.find(c.message), std::string::npos) << refused.err;
        EXPECT_FALSE(file_exists(dir.file("out.pdf"))) << c.words.back();
        EXPECT_FALSE(has_file_starting_with(dir.path(), ".out.pdf.")) << c.words.back();
    }
    EXPECT_TRUE(fs::is_empty(temporary()));
}

// A PDF whose cross-reference is a stream, as most producers write it now,
// is a whole PDF.
TEST_F(DocumentSandbox, APdfWithACrossReferenceStreamIsCopied) {
    ASSERT_EQ(kvalon({document("hello.ps", kHello)}, "made.pdf").status, 0);
    ASSERT_EQ(run_program({"qpdf", "--object-streams=generate", dir.file("made.pdf"),
                           dir.file("streams.pdf")})
                  .status,
              0);
    ASSERT_EQ(read_bytes(dir.file("streams.pdf")).find("\nxref"), std::string::npos);
    const RunResult copied = kvalon({dir.file("streams.pdf")});
    ASSERT_EQ(copied.status, 0) << copied.err;
    EXPECT_EQ(read_bytes(dir.file("out.pdf")), read_bytes(dir.file("streams.pdf")));
}

} // namespace
} // namespace kvalon::testing
