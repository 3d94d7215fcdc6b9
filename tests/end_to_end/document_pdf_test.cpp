// Files that are not text reports, given to the real program with the PDF
// printer: a PDF is copied, PostScript made a PDF, PCL held to another
// language refused; and a report
// whose pages come out blank says so.
#include "tests/support/pdf_tools.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace kvalon::testing {
namespace {

const std::string kPostScript = "%!PS-Adobe-3.0\n"
                                "/Courier findfont 20 scalefont setfont\n"
                                "72 400 moveto (Hello PostScript) show showpage\n";
const std::string kPcl = "\x1b"
                         "E\x1b&l0O\x1b(10UHello PCL\x1b"
                         "E";

class DocumentPdf : public ::testing::Test {
protected:
    RunResult kvalon(std::vector<std::string> words, const std::string& input = {}) {
        words.insert(words.begin(), kvalon_binary());
        return run_program(words, {{"KVALON_PDF", pdf()}, {"HOME", dir.path()}}, input);
    }
    std::string report(const std::string& name, const std::string& bytes) {
        write_bytes(dir.file(name), bytes);
        return dir.file(name);
    }
    std::string pdf() const { return dir.file("out.pdf"); }

    TempDir dir;
};

TEST_F(DocumentPdf, PostScriptBecomesAPdfOnThePrintersPaper) {
    const RunResult printed = kvalon({"--paper", "11", report("LETTER.PS", kPostScript)});
    ASSERT_EQ(printed.status, 0) << printed.err;
    const std::vector<PdfWord> words = pdf_words(pdf());
    ASSERT_EQ(words.size(), 2u);
    EXPECT_EQ(words[0].text + " " + words[1].text, "Hello PostScript");
    EXPECT_NE(pdf_info(pdf()).at("Page size").find("420 x 595"), std::string::npos);
}

TEST_F(DocumentPdf, APdfIsCopiedAsItCameAndOnceMoreForEachCopy) {
    const RunResult made = kvalon({report("MADE.PS", kPostScript)});
    ASSERT_EQ(made.status, 0) << made.err;
    const std::string original = read_bytes(pdf());
    const std::string copy = dir.file("copy.pdf");
    const std::string path = report("INVOICE.PDF", original);
    ASSERT_EQ(run_program({kvalon_binary(), "--pdf", copy, path}).status, 0);
    EXPECT_EQ(read_bytes(copy), original);
    ASSERT_EQ(run_program({kvalon_binary(), "--pdf", copy, "--copies", "3", path}).status, 0);
    EXPECT_EQ(pdf_pages(copy), 3);
    // Nothing in a document counts as a line: a PDF on standard input with a
    // long run of bytes without a CR is not a report with a long line.
    std::string piped = original;
    piped.insert(piped.rfind("trailer"), "%" + std::string(40000, 'a') + "\n");
    const RunResult from_pipe = run_program({kvalon_binary(), "--pdf", copy, "-"}, {}, piped);
    ASSERT_EQ(from_pipe.status, 0) << from_pipe.err;
    EXPECT_EQ(read_bytes(copy), piped);
}

// Three copies of a document passed on take one conversion and one look at
// its pages, as one copy does; each copy has the document's words.
TEST_F(DocumentPdf, CopiesOfADocumentAreMadeInOneConversion) {
    const std::string postscript = report("COPIES.PS", kPostScript);
    const std::string one_page = dir.file("ONE.PDF");
    ASSERT_EQ(run_program({kvalon_binary(), "--pdf", one_page, postscript}).status, 0);
    std::filesystem::create_directory(dir.file("bin"));
    const std::string counting_gs = dir.file("bin/gs");
    write_bytes(counting_gs, "#!/bin/sh\necho run >> " + dir.file("gs-runs") +
                                 "\nPATH=" + std::getenv("PATH") + " exec gs \"$@\"\n");
    std::filesystem::permissions(counting_gs, std::filesystem::perms::owner_all);
    const std::string path = dir.file("bin") + ":" + std::getenv("PATH");
    for (const std::string& document : {postscript, one_page}) {
        SCOPED_TRACE(document);
        std::filesystem::remove(dir.file("gs-runs"));
        const RunResult printed =
            run_program({kvalon_binary(), "--pdf", pdf(), "--copies", "3", document},
                        {{"HOME", dir.path()}, {"PATH", path}});
        ASSERT_EQ(printed.status, 0) << printed.err;
        EXPECT_EQ(read_bytes(dir.file("gs-runs")), "run\nrun\n");
        EXPECT_EQ(pdf_pages(pdf()), 3);
        std::string words;
        for (const PdfWord& word : pdf_words(pdf())) {
            words += word.text + " ";
        }
        EXPECT_EQ(words, "Hello PostScript Hello PostScript Hello PostScript ");
    }
}

TEST_F(DocumentPdf, WhatCannotBeDoneIsRefusedAndNothingIsWritten) {
    struct Case {
        const char* name;
        std::vector<std::string> words;
        std::string message;
    };
    const Case cases[] = {
        {"PCL read as text into the PDF printer",
         {"--text", report("PAGE.PCL", kPcl)},
         "Файлът не е текстов отчет: " + dir.file("PAGE.PCL") +
             " (документ PCL, който PDF принтерът не може да отпечата)"},
        {"lines per page of a document",
         {report("PAGE.PS", kPostScript) + ",1"},
         "(документ PostScript, който няма редове на страница)"},
        {"PostScript that fails",
         {report("BAD.PS", "%!PS\nnosuchoperator\n")},
         "Файлът не може да бъде записан: " + pdf() +
             " (PostScript документът не стана PDF: Error: /undefined in nosuchoperator)"},
    };
    for (const Case& c : cases) {
        const RunResult refused = kvalon(c.words);
        EXPECT_EQ(refused.status, 5) << c.name;
        EXPECT_NE(refused.err.find(c.message), std::string::npos) << c.name << ": " << refused.err;
        EXPECT_FALSE(file_exists(pdf())) << c.name;
        EXPECT_FALSE(has_file_starting_with(dir.path(), ".out.pdf")) << c.name;
    }
    EXPECT_FALSE(file_exists(dir.file("TMPPRNT1.TMP")));
}

TEST_F(DocumentPdf, ThePlanNamesTheDocument) {
    struct Case {
        std::string bytes;
        const char* plan;
    };
    for (const Case& c :
         {Case{kPostScript, "Document=postscript\n"},
          Case{"%PDF-1.7\n%\xE2\xE3\n", "Document=pdf\n"}, Case{kPcl, "Document=pcl\n"},
          Case{"\x1b%-12345X@PJL\r\n", "Document=pcl\n"}}) {
        // PCL is a document only where it is held to another language.
        const RunResult planned = kvalon({"--plan", "--escp", report("DOC", c.bytes)});
        EXPECT_EQ(planned.status, 0);
        EXPECT_EQ(planned.out, c.plan);
    }
    // An Epson report that opens with bold on is a report.
    const RunResult report_plan = kvalon({"--plan", report("BOLD.TXT", "\x1b"
                                                                       "EHEADING\r\n")});
    EXPECT_EQ(report_plan.out.rfind("PaperName=", 0), 0u) << report_plan.out;
    EXPECT_FALSE(file_exists(pdf()));
}

// The only letter stands past the cut of a line too long for any size: what
// comes out is a blank sheet, and the program says so instead of ending as if
// all was well.
TEST_F(DocumentPdf, BlankPagesFromAReportThatPrintsAreTold) {
    const RunResult printed =
        kvalon({report("LOST.TXT", "   \r\n" + std::string(400, ' ') + "x\r\n")});
    EXPECT_EQ(printed.status, 5);
    EXPECT_NE(printed.err.find("Отпечатаните страници са празни, въпреки че има какво да се "
                               "печата във файл " +
                               dir.file("LOST.TXT")),
              std::string::npos)
        << printed.err;
    EXPECT_EQ(pdf_pages(pdf()), 1);
    // Blanks alone print as blanks, as they always did.
    EXPECT_EQ(kvalon({report("BLANKS.TXT", "   \r\n")}).status, 0);
}

} // namespace
} // namespace kvalon::testing
