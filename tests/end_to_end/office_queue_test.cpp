#include "tests/end_to_end/office_queue.h"

#include <cups/backend.h>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <sstream>

namespace kvalon::testing {
namespace {

TEST_F(OfficeQueue, ReportsFromCupsAndLpdClientsArriveAsPrintedHere) {
    const std::string sample = read_bytes(source_dir() + "/samples/sample-report.txt");
    // ESC @ at the start made CUPS take a report for printer data.
    const std::string report = "\x1b@" + sample;
    const std::vector<std::string> expected = printed_here(report);
    ASSERT_FALSE(expected.empty());

    ASSERT_EQ(submit(tag + "-lp", report).status, 0);
    ASSERT_EQ(ended(1), IPP_JSTATE_COMPLETED) << status_line_of(1);
    ASSERT_EQ(ended(2), IPP_JSTATE_COMPLETED) << "the destination did not print the job";
    EXPECT_EQ(pdf_lines(document_of(2)), expected);
    EXPECT_EQ(pdf_info(document_of(2))["Title"], tag + "-lp");

    const RunResult lpd =
        run_program({kLpdDaemon, "-h", server, "-n"}, {},
                    lpd_conversation("Kvalon", user, tag + "-lpd", to_mik("Отчет по LPD\r\n")));
    EXPECT_EQ(lpd.out, std::string(5, '\0')) << "cups-lpd refused a step of the conversation";
    ASSERT_EQ(ended(3), IPP_JSTATE_COMPLETED) << status_line_of(3);
    ASSERT_EQ(ended(4), IPP_JSTATE_COMPLETED);
    EXPECT_EQ(pdf_lines(document_of(4)), std::vector<std::string>{"Отчет по LPD"});
}

// A word processor's PostScript and a PDF reach the destination as they were
// sent, each as its own document format: the destination prints them as the
// program that made them meant.
TEST_F(OfficeQueue, DocumentsArriveUnchangedInTheirOwnFormat) {
    const std::string postscript = "%!PS-Adobe-3.0\n/Courier findfont 20 scalefont setfont\n"
                                   "72 400 moveto (Office PostScript) show showpage\n";
    write_bytes(dir.file("made.ps"), postscript);
    ASSERT_EQ(kvalon({"--pdf", dir.file("made.pdf"), dir.file("made.ps")}).status, 0);
    const std::string pdf = read_bytes(dir.file("made.pdf"));
    ASSERT_EQ(submit(tag + "-ps", postscript).status, 0);
    ASSERT_EQ(ended(1), IPP_JSTATE_COMPLETED) << status_line_of(1);
    ASSERT_EQ(ended(2), IPP_JSTATE_COMPLETED);
    EXPECT_EQ(format_of(2), "application/postscript");
    EXPECT_EQ(read_bytes(document_of(2)), postscript);
    ASSERT_EQ(submit(tag + "-pdf", pdf).status, 0);
    ASSERT_EQ(ended(3), IPP_JSTATE_COMPLETED) << status_line_of(3);
    ASSERT_EQ(ended(4), IPP_JSTATE_COMPLETED);
    EXPECT_EQ(format_of(4), "application/pdf");
    EXPECT_EQ(read_bytes(document_of(4)), pdf);
}

// Pages that come out blank are handed on, and the job says why they look so.
TEST_F(OfficeQueue, BlankPagesEndTheJobWithAWarning) {
    // The only letter stands past the cut of a line too long for any size.
    ASSERT_EQ(submit(tag + "-lost", "   \r\n" + std::string(400, ' ') + "x\r\n").status, 0);
    EXPECT_EQ(ended(1), IPP_JSTATE_COMPLETED);
    EXPECT_NE(status_line_of(1).find("Отпечатаните страници са празни"), std::string::npos)
        << status_line_of(1);
}

TEST_F(OfficeQueue, TheDestinationsOwnOutputHasThePagesAndPaper) {
    const std::string sample = read_bytes(source_dir() + "/samples/sample-report.txt");
    const std::string title = tag + "-paper";
    ASSERT_EQ(submit(title, sample).status, 0);
    ASSERT_EQ(ended(2), IPP_JSTATE_COMPLETED);
    // cups-pdf writes the file into the scheduler's own folder, named after
    // the title (with bytes of its own appended), a moment after the job ends.
    std::string output;
    wait_until([&] {
        for (const auto& entry :
             std::filesystem::directory_iterator(cups_pdf_output(dir.file("server")))) {
            const std::string name = entry.path().filename().string();
            if (name.starts_with(title) && name.ends_with("-job_2.pdf")) {
                output = entry.path().string();
            }
        }
        return !output.empty();
    });
    ASSERT_FALSE(output.empty());
    EXPECT_EQ(pdf_pages(output), pdf_pages(document_of(2)));
    EXPECT_EQ(pdf_info(output)["Page size"].substr(0, 14), "595 x 842 pts ");
}

TEST_F(OfficeQueue, AFailedJobEndsWithItsReasonAndTheQueueGoesOn) {
    ASSERT_EQ(run_program({"cupsdisable", "-h", server, "Remote"}).status, 0);
    ASSERT_EQ(submit(tag + "-stopped", to_mik("Отчет\r\n")).status, 0);
    EXPECT_EQ(ended(1), IPP_JSTATE_ABORTED);
    EXPECT_NE(status_line_of(1).find("Remote (опашката е спряна)"), std::string::npos)
        << status_line_of(1);

    ASSERT_EQ(run_program({"cupsenable", "-h", server, "Remote"}).status, 0);
    ASSERT_EQ(submit(tag + "-empty", "\f\r\n").status, 0);
    EXPECT_EQ(ended(2), IPP_JSTATE_CANCELED);
    EXPECT_NE(status_line_of(2).find("Файл " + tag + "-empty е с нулева дължина"),
              std::string::npos)
        << status_line_of(2);
    ASSERT_EQ(submit(tag + "-after", to_mik("Отчет\r\n")).status, 0);
    EXPECT_EQ(ended(3), IPP_JSTATE_COMPLETED) << status_line_of(3);
}

// A queue set up for one code page reads every report in it, a job may name
// its own, and a queue set up again without one reads MIK.
TEST_F(OfficeQueue, TheQueuesCodePageAndTheJobsOwn) {
    const RunResult setup = kvalon({"--setup-queue", "Kvalon", "Remote", "--code-page", "IBM866"});
    ASSERT_EQ(setup.status, 0) << setup.err;
    EXPECT_NE(setup.out.find("Кодова таблица на отчетите: cp866."), std::string::npos);
    ASSERT_EQ(submit(tag + "-866", to_code_page("Отчет за склада\r\n", CodePageId::Cp866)).status,
              0);
    ASSERT_EQ(ended(2), IPP_JSTATE_COMPLETED) << status_line_of(1);
    EXPECT_EQ(pdf_lines(document_of(2)), std::vector<std::string>{"Отчет за склада"});

    write_bytes(dir.file("koi8.txt"), to_code_page("Отчет за склада\r\n", CodePageId::Koi8R));
    ASSERT_EQ(run_program({"lp", "-h", server, "-d", "Kvalon", "-U", user, "-o", "raw", "-o",
                           "kvalon-code-page=koi8-r", dir.file("koi8.txt")})
                  .status,
              0);
    ASSERT_EQ(ended(4), IPP_JSTATE_COMPLETED) << status_line_of(3);
    EXPECT_EQ(pdf_lines(document_of(4)), std::vector<std::string>{"Отчет за склада"});

    ASSERT_EQ(kvalon({"--setup-queue", "Kvalon", "Remote"}).status, 0);
    ASSERT_EQ(submit(tag + "-mik", to_mik("Отчет за склада\r\n")).status, 0);
    ASSERT_EQ(ended(6), IPP_JSTATE_COMPLETED) << status_line_of(5);
    EXPECT_EQ(pdf_lines(document_of(6)), std::vector<std::string>{"Отчет за склада"});
}

// The CUPS job is followed to its end: the destination's own
// backend finds no printer at its address and stops the destination.
TEST_F(OfficeQueue, ADestinationWhoseBackendFailsAbortsTheJob) {
    const std::string nowhere = "ipp://" + server + "/printers/Nowhere";
    ASSERT_EQ(run_program({"lpadmin", "-h", server, "-p", "Broken", "-E", "-v", nowhere}).status,
              0);
    ASSERT_EQ(kvalon({"--setup-queue", "ToBroken", "Broken"}).status, 0);
    write_bytes(dir.file("broken.txt"), to_mik("Отчет\r\n"));
    ASSERT_EQ(
        run_program({"lp", "-h", server, "-d", "ToBroken", "-U", user, dir.file("broken.txt")})
            .status,
        0);
    EXPECT_EQ(ended(1), IPP_JSTATE_ABORTED);
}

TEST_F(OfficeQueue, SetUpAndRemovalRepeatAndLeaveOtherQueuesAlone) {
    EXPECT_EQ(kvalon({"--setup-queue", "Kvalon", "Remote"}).status, 0);
    const RunResult loop = kvalon({"--setup-queue", "Other", "Kvalon"});
    EXPECT_EQ(loop.status, 6);
    EXPECT_NE(loop.err.find("опашка на Kvalon-P"), std::string::npos) << loop.err;
    EXPECT_EQ(kvalon({"--setup-queue", "Other", "Nowhere"}).status, 6);
    const RunResult foreign = kvalon({"--remove-queue", "Remote"});
    EXPECT_EQ(foreign.status, 6);
    EXPECT_NE(foreign.err.find("не е на Kvalon-P"), std::string::npos) << foreign.err;

    EXPECT_EQ(kvalon({"--remove-queue", "Kvalon"}).status, 0);
    EXPECT_EQ(kvalon({"--remove-queue", "Kvalon"}).status, 0);
    const RunResult listed = run_program({"lpstat", "-h", server, "-v"});
    EXPECT_EQ(listed.out.find("Kvalon"), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("Remote: cups-pdf:/"), std::string::npos) << listed.out;
}

// A paper no page can use, named by the client, used to end the job aborted
// (too small) or to make a page past the PDF limit (too large): the job's
// fault is a cancelled job, never a printer failure that a stop-printer
// policy turns into a stopped queue for everybody.
// Also more sheets than one job may have: copies of a report of a few pages;
// and a PDF that is none.
TEST_F(OfficeQueue, APaperNoPageCanUseCancelsTheJob) {
    std::string pages = to_mik("Отчет\r\n");
    for (int i = 0; i < 400; ++i) {
        pages += "line " + std::to_string(i) + "\r\n";
    }
    struct Case {
        std::string option;
        std::string report;
        std::string message;
    };
    const Case cases[] = {
        {"media=custom_100000x100000mm", pages,
         "Листът е твърде голям за печат на файл " + tag + "-paper (страна над 5080 мм)"},
        {"media=custom_1x1mm", pages, "Листът е твърде малък за печат на файл " + tag + "-paper"},
        {"copies=9999", pages,
         "Повече от 32767 страници във файл " + tag + "-paper (9999 копия по "},
        {"copies=1", "%PDF-1.4\n" + std::string(300, 'x'),
         "Файлът не може да бъде прочетен: " + tag +
             "-paper (документът PDF е непълен или повреден)"},
    };
    int id = 0;
    for (const Case& c : cases) {
        ASSERT_EQ(submit(tag + "-paper", c.report, {c.option}).status, 0);
        EXPECT_EQ(ended(++id), IPP_JSTATE_CANCELED) << c.option;
        EXPECT_NE(status_line_of(id).find(c.message), std::string::npos) << status_line_of(id);
    }
    EXPECT_EQ(run_program({"lpstat", "-h", server, "-W", "all", "-o", "Remote"}).out, "")
        << "nothing reached the destination";
}

// The same scheduler with short waits for the backend (KVALON_JOB_WAIT=3,
// KVALON_SERVICE_WAIT=1) and destinations on its test printer: one that
// fails every job and is left to retry, one that takes a minute, one that
// takes every job at once.
class OfficeQueueShortWaits : public OfficeQueue {
protected:
    void SetUp() override {
        OfficeQueue::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        for (const auto& [queue, how] :
             {std::pair<std::string, std::string>{"Retry", "fail retry-job"},
              {"Slow", "slow stop-printer"},
              {"Null", "null stop-printer"}}) {
            const std::string uri = "kvalon-test:/" + how.substr(0, how.find(' '));
            ASSERT_EQ(run_program({"lpadmin", "-h", server, "-p", queue, "-E", "-v", uri, "-o",
                                   "printer-error-policy=" + how.substr(how.find(' ') + 1)})
                          .status,
                      0);
            ASSERT_EQ(kvalon({"--setup-queue", "To" + queue, queue}).status, 0);
        }
    }
    std::string backend_waits() const override { return "KVALON_JOB_WAIT=3 KVALON_SERVICE_WAIT=1"; }
    // Whether the scheduler `scheduler` still has a backend of ours running
    // (one that has ended waits as a zombie while the scheduler is stopped).
    static bool backend_runs(pid_t scheduler) {
        for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
            std::string stat;
            std::getline(std::ifstream(entry.path() / "stat"), stat);
            const std::size_t name_end = stat.rfind(')');
            std::error_code error;
            const auto program = std::filesystem::read_symlink(entry.path() / "exe", error);
            if (name_end == std::string::npos || program.filename() != "kvalon") {
                continue;
            }
            std::istringstream fields(stat.substr(name_end + 2));
            char state = 0;
            pid_t parent = 0;
            fields >> state >> parent;
            if (parent == scheduler && state != 'Z') {
                return true;
            }
        }
        return false;
    }
};

// A destination left to retry used to end the queue job completed with an
// empty state message: the "stopped following" notice was only in the log.
TEST_F(OfficeQueueShortWaits, ADestinationLeftToRetryIsToldInTheJobsStateMessage) {
    ASSERT_EQ(submit(tag + "-retry", to_mik("Отчет\r\n"), {}, "ToRetry").status, 0);
    EXPECT_EQ(ended(1), IPP_JSTATE_COMPLETED);
    EXPECT_EQ(status_line_of(1, "ToRetry"),
              "Status: Програмата спря да следи заданието на опашка Retry след 3 с; то още не е "
              "отпечатано");
}

// The scheduler frozen after the backend handed the whole report over used
// to end the queue job aborted while the destination printed it: the sender
// sent it again. Now the queue job completes with the notice, and the
// destination job is left to print.
TEST_F(OfficeQueueShortWaits, AFrozenSchedulerAfterTheHandOverIsNoFailure) {
    const pid_t scheduler = std::stoi(read_bytes(dir.file("server/cupsd.pid")));
    ASSERT_EQ(submit(tag + "-frozen", to_mik("Отчет\r\n"), {}, "ToSlow").status, 0);
    // The destination job's document in the spool: the scheduler has it whole.
    ASSERT_TRUE(wait_until([&] { return file_exists(document_of(2)); }));
    ::kill(scheduler, SIGSTOP);
    const bool backend_ended = wait_until([&] { return !backend_runs(scheduler); });
    ::kill(scheduler, SIGCONT);
    ASSERT_TRUE(backend_ended);
    EXPECT_EQ(ended(1), IPP_JSTATE_COMPLETED);
    EXPECT_EQ(status_line_of(1, "ToSlow"),
              "Status: Програмата спря да следи заданието на опашка Slow: услугата за печат не "
              "отговаря; заданието е предадено цяло, но още не е отпечатано");
    EXPECT_NE(run_program({"lpstat", "-h", server, "-o", "Slow"}).out, "")
        << "the destination job still prints";
}

// CUPS passes the title as an argument, and Qt's own argument parser used to
// read it: a title "-platform" aborted the backend (status 134). Now a title
// is only a title. The scheduler names a job with control characters in its
// title "Untitled"; run as CUPS would run it with such a title, the backend
// keeps every status line one line all the same.
TEST_F(OfficeQueueShortWaits, ATitleIsOnlyATitle) {
    ASSERT_EQ(submit("-platform", to_mik("Отчет\r\n"), {}, "ToNull").status, 0);
    ASSERT_EQ(ended(1), IPP_JSTATE_COMPLETED) << status_line_of(1, "ToNull");
    ASSERT_EQ(ended(2), IPP_JSTATE_COMPLETED);
    EXPECT_EQ(pdf_info(document_of(2))["Title"], "-platform");

    auto backend_env = env;
    backend_env["DEVICE_URI"] = "kvalon:/Null";
    const RunResult result = run_program({backend(), "7", user, "a\nERROR: b\rc\x1b", "1", ""},
                                         backend_env, std::string(40000, 'x'));
    EXPECT_EQ(result.status, CUPS_BACKEND_CANCEL) << result.err;
    std::istringstream lines(result.err);
    std::vector<std::string> errors;
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("ERROR: ")) {
            errors.push_back(line);
        }
    }
    EXPECT_EQ(errors, std::vector<std::string>{
                          "ERROR: Ред, по-дълъг от 32765 символа, във файл a ERROR: b c "});
}

} // namespace
} // namespace kvalon::testing
