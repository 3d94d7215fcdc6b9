// What a queue set up with defaults does with a report, and a job's own
// options over them.
#include "tests/end_to_end/office_queue.h"

namespace kvalon::testing {
namespace {

constexpr double kPointsPerMm = 72 / 25.4;

// Attributes only, so that it reads as text unless told; 68 lines, one form
// of A4 length and two of 11 inches.
std::string bold_report() {
    std::string report = "\x1b@\x1b"
                         "EBold\x1b"
                         "F x\r\n";
    for (int line = 2; line <= 68; ++line) {
        report += "Line " + std::to_string(line) + "\r\n";
    }
    return report;
}

TEST_F(OfficeQueue, TheQueuesDefaultsGiveWayToTheJobsOwnOptions) {
    const RunResult setup = kvalon(
        {"--setup-queue", "Kvalon", "Remote", "--escp", "--form-length", "a4", "--offset", "4,-3"});
    ASSERT_EQ(setup.status, 0) << setup.err;
    EXPECT_NE(setup.out.find("Отчетите се печатат като на матричен принтер Epson (ESC/P).\n"
                             "Дължина на листа на принтера: a4.\n"
                             "Отместване на печата: 4,-3 мм.\n"),
              std::string::npos)
        << setup.out;
    struct Job {
        std::vector<std::string> options;
        int pages;
        std::string first_line;
    };
    const Job jobs[] = {
        {{}, 1, "Bold x"},
        {{"kvalon-escp=0"}, 2, "@ EBold F x"},
        {{"kvalon-form-length=11in"}, 2, "Bold x"},
        {{"kvalon-offset=0,0"}, 1, "Bold x"},
    };
    std::vector<std::vector<PdfWord>> printed;
    int id = 1;
    for (const Job& job : jobs) {
        ASSERT_EQ(submit(tag + "-" + std::to_string(id), bold_report(), job.options).status, 0);
        ASSERT_EQ(ended(id + 1), IPP_JSTATE_COMPLETED) << status_line_of(id);
        EXPECT_EQ(pdf_pages(document_of(id + 1)), job.pages) << id;
        EXPECT_TRUE(pdf_lines(document_of(id + 1)).at(0).starts_with(job.first_line + " Line 2"))
            << id;
        printed.push_back(pdf_words(document_of(id + 1)));
        id += 2;
    }
    // The queue's offset moves the page the job without one prints.
    const PdfWord& moved = printed[0].at(0);
    const PdfWord& unmoved = printed[3].at(0);
    EXPECT_NEAR(moved.x_min - unmoved.x_min, 4 * kPointsPerMm, 0.05);
    EXPECT_NEAR(moved.y_min - unmoved.y_min, -3 * kPointsPerMm, 0.05);
}

// A job's offset reaches the destination's page; one the program cannot
// read fails the job and says why.
TEST_F(OfficeQueue, AJobsOwnOffsetMovesItsPage) {
    const std::string report = "Фактура 0001\r\n";
    ASSERT_EQ(submit(tag + "-plain", to_mik(report)).status, 0);
    ASSERT_EQ(ended(2), IPP_JSTATE_COMPLETED) << status_line_of(1);
    ASSERT_EQ(submit(tag + "-moved", to_mik(report), {"kvalon-offset=2,5;6"}).status, 0);
    ASSERT_EQ(ended(4), IPP_JSTATE_COMPLETED) << status_line_of(3);
    const PdfWord plain = pdf_words(document_of(2)).at(0);
    const PdfWord moved = pdf_words(document_of(4)).at(0);
    EXPECT_NEAR(moved.x_min - plain.x_min, 2.5 * kPointsPerMm, 0.05);
    EXPECT_NEAR(moved.y_min - plain.y_min, 6 * kPointsPerMm, 0.05);

    ASSERT_EQ(submit(tag + "-bad", to_mik(report), {"kvalon-offset=left"}).status, 0);
    EXPECT_EQ(ended(5), IPP_JSTATE_CANCELED);
    EXPECT_NE(status_line_of(5).find("kvalon-offset=left"), std::string::npos) << status_line_of(5);
}

} // namespace
} // namespace kvalon::testing
