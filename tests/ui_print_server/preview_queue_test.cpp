// The preview printing on the queues of a scheduler of its own
// (scripts/print-server.sh): every print action is a job of its own at once,
// followed beside the windows, which never wait for the print service.
#include "engine/messages.h"
#include "engine/print_job.h"
#include "printing/cups/queue_destination.h"
#include "tests/support/child_process.h"
#include "tests/support/pdf_tools.h"
#include "tests/support/print_service.h"
#include "tests/ui/window_fixture.h"
#include "ui/qt/menu_window.h"
#include "ui/qt/page_range_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <cups/cups.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace kvalon::testing {
namespace {

namespace fs = std::filesystem;

class PreviewOnQueues : public UiTest {
protected:
    void SetUp() override {
        if (::geteuid() != 0 || !file_exists("/usr/sbin/cupsd")) {
            GTEST_SKIP() << "a private CUPS scheduler needs root and cupsd";
        }
        UiTest::SetUp();
        // The scheduler's programs run as lp and pass through this folder.
        fs::permissions(dir.path(), fs::perms::group_exec | fs::perms::others_exec,
                        fs::perm_options::add);
        const int port = free_port();
        const RunResult started =
            run_program({script(), "start", dir.file("server"), std::to_string(port)});
        ASSERT_EQ(started.status, 0) << "the private scheduler did not start: " << started.err;
        m_started = true;
        m_server = "127.0.0.1:" + std::to_string(port);
        // Both printers hold each job until the test lets it go.
        for (const auto& [queue, printer] :
             {std::pair{"Jam", "kvalon-test:/held-jam"}, std::pair{"Slow", "kvalon-test:/held"}}) {
            ASSERT_EQ(
                run_program({"lpadmin", "-h", m_server, "-p", queue, "-E", "-v",
                             printer + release_file(), "-o", "printer-error-policy=abort-job"})
                    .status,
                0);
        }
        setenv("CUPS_SERVER", m_server.c_str(), 1);
        cupsSetServer(m_server.c_str());
    }
    void TearDown() override {
        UiTest::TearDown();
        if (m_started) {
            run_program({script(), "stop", dir.file("server")});
        }
        unsetenv("CUPS_SERVER");
    }

    // The menu window printing on `queue`, with a report of three pages chosen.
    Form_menu* open_on(const char* queue) {
        QueueSettings settings;
        settings.queue = queue;
        settings.job_wait_seconds = 30;
        binding->bind(std::make_shared<QueueDestination>(settings));
        Form_menu* menu = open_menu();
        choose(menu, write_report_of_pages("THREE.TXT", 3));
        m_status.clear();
        m_status_seen = menu->session().status_changed.subscribe(
            [this](const std::string& text) { m_status.push_back(text); });
        return menu;
    }
    static void press(const char* button) {
        QTest::mouseClick(control<QPushButton>("Form2", button), Qt::LeftButton);
        settle();
    }
    // The held printers print (or jam) the jobs they hold, and all after.
    std::string release_file() const { return dir.file("release"); }
    void release() const { write_bytes(release_file(), ""); }
    bool status_awaited(const std::string& text) const {
        return QTest::qWaitFor([this, &text] { return status_seen(text); }, 30000);
    }
    bool status_seen(const std::string& text) const {
        return std::find(m_status.begin(), m_status.end(), text) != m_status.end();
    }
    // The titles of the jobs the scheduler has had, oldest first.
    static std::vector<std::string> job_titles(const char* queue) {
        cups_job_t* jobs = nullptr;
        const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue, 0, CUPS_WHICHJOBS_ALL);
        std::vector<std::pair<int, std::string>> found;
        for (int i = 0; i < count; ++i) {
            found.emplace_back(jobs[i].id, jobs[i].title);
        }
        cupsFreeJobs(count, jobs);
        std::sort(found.begin(), found.end());
        std::vector<std::string> titles;
        for (const auto& [id, title] : found) {
            titles.push_back(title);
        }
        return titles;
    }
    // The documents the scheduler kept of its jobs, oldest first.
    std::vector<std::string> kept_documents() const {
        std::vector<std::string> files;
        for (const auto& entry : fs::directory_iterator(dir.file("server/spool"))) {
            if (entry.path().filename().string().rfind('d', 0) == 0) {
                files.push_back(entry.path().string());
            }
        }
        std::sort(files.begin(), files.end());
        return files;
    }
    static std::string script() { return source_dir() + "/scripts/print-server.sh"; }

    std::vector<std::string> m_status;
    Listeners<std::string>::Subscription m_status_seen;

private:
    bool m_started = false;
    std::string m_server;
};

const std::string kFooterWord = "фактуриране";

// "Печат стр. 1" and then pages 2 to 3: two jobs, sent as the buttons are
// pressed, named after the report and their pages; the footer under the
// report's last page, in the job that printed it.
TEST_F(PreviewOnQueues, EachPrintActionIsAJobOfItsOwnAtOnce) {
    open_on("Remote");
    press("Command2");
    ASSERT_TRUE(QTest::qWaitFor(
        [this] { return status_seen("Kvalon-P THREE.TXT стр. 1 на опашка Remote: отпечатано"); },
        30000));
    set_page_range_seam([](PageRange) { return std::optional<PageRange>(PageRange{2, 3}); });
    window("Form2")->findChild<QAction*>(QStringLiteral("printRange"))->trigger();
    ASSERT_TRUE(QTest::qWaitFor(
        [this] { return status_seen("Kvalon-P THREE.TXT стр. 2-3 на опашка Remote: отпечатано"); },
        30000));
    EXPECT_EQ(job_titles("Remote"), (std::vector<std::string>{"Kvalon-P THREE.TXT стр. 1",
                                                              "Kvalon-P THREE.TXT стр. 2-3"}));
    const std::vector<std::string> documents = kept_documents();
    ASSERT_EQ(documents.size(), 2u);
    EXPECT_EQ(pdf_pages(documents[0]), 1);
    EXPECT_EQ(page_text(documents[0], 1).find(kFooterWord), std::string::npos);
    ASSERT_EQ(pdf_pages(documents[1]), 2);
    EXPECT_NE(page_text(documents[1], 2).find(kFooterWord), std::string::npos);
    EXPECT_TRUE(messages.empty());
}

// Pages past the report's end send no job: a queue would print an empty sheet.
TEST_F(PreviewOnQueues, ARangePastTheEndSendsNoJob) {
    open_on("Remote");
    set_page_range_seam([](PageRange) { return std::optional<PageRange>(PageRange{9, 9}); });
    window("Form2")->findChild<QAction*>(QStringLiteral("printRange"))->trigger();
    settle();
    EXPECT_TRUE(job_titles("Remote").empty());
    EXPECT_EQ(messages, std::vector<std::string>{"Отчетът има 3 стр.; в него няма страници 9-9; "
                                                 "нищо не е отпечатано"});
}

// The printer jams: the press does not wait for it (the preview is on the
// next page while the printer still holds the job); the status line follows
// the job, and its failure is told with the printer's own words.
TEST_F(PreviewOnQueues, AJammedPrinterIsToldWithItsReasonAndTheWindowNeverWaits) {
    open_on("Jam");
    press("Command2");
    EXPECT_EQ(job().PageNumber, 2);
    ASSERT_TRUE(status_awaited("Kvalon-P THREE.TXT стр. 1 на опашка Jam: печата се"));
    EXPECT_TRUE(messages.empty());
    release();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !messages.empty(); }, 30000));
    EXPECT_EQ(messages[0], messages::kPrinterFailed + "Jam (" + messages::kJobAborted +
                               "; съобщение на принтера: „Paper jam in tray 2“)");
    EXPECT_TRUE(status_seen("Kvalon-P THREE.TXT стр. 1 на опашка Jam: изпраща се"));
    EXPECT_TRUE(status_seen("Kvalon-P THREE.TXT стр. 1 на опашка Jam: не е отпечатано"));
    // The preview is on page 2; the failed page is one press away.
    auto* again = control<QPushButton>("Form2", "printAgain");
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(again->isVisible());
    EXPECT_EQ(caption_of(again), "Нов опит: стр. 1");
}

// A paused queue takes the job, as lp does, and the status line says it
// waits there, without the printer's "Paused" after it; started again, the
// queue prints it.
TEST_F(PreviewOnQueues, APausedQueueKeepsTheJobAndSaysSo) {
    Form_menu* menu = open_on("Remote");
    ASSERT_EQ(run_program({"cupsdisable", "Remote"}).status, 0);
    press("Command2");
    const std::string waiting =
        "Kvalon-P THREE.TXT стр. 1 на опашка Remote: чака за печат" + messages::kQueuePaused;
    ASSERT_TRUE(QTest::qWaitFor(
        [this, &waiting] {
            return std::any_of(m_status.begin(), m_status.end(),
                               [&waiting](const std::string& t) { return t == waiting; });
        },
        30000));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(job_titles("Remote"), std::vector<std::string>{"Kvalon-P THREE.TXT стр. 1"});
    ASSERT_EQ(run_program({"cupsenable", "Remote"}).status, 0);
    EXPECT_TRUE(status_awaited("Kvalon-P THREE.TXT стр. 1 на опашка Remote: отпечатано"));
    // That job's state is no word about the next report.
    choose(menu, write_report_of_pages("TWO.TXT", 2));
    EXPECT_EQ(control<QLabel>("Form2", "statusLine")->text().toStdString(), "");
}

// Closing the preview does not wait for the printer: the window is gone while
// the printer still holds the job, which is followed to its end all the same.
TEST_F(PreviewOnQueues, ClosingDoesNotWaitForTheJob) {
    open_on("Slow");
    press("Command2");
    ASSERT_TRUE(status_awaited("Kvalon-P THREE.TXT стр. 1 на опашка Slow: печата се"));
    window("Form2")->close();
    settle();
    EXPECT_EQ(window("Form2"), nullptr);
    EXPECT_FALSE(status_seen("Kvalon-P THREE.TXT стр. 1 на опашка Slow: отпечатано"));
    release();
    EXPECT_TRUE(status_awaited("Kvalon-P THREE.TXT стр. 1 на опашка Slow: отпечатано"));
}

} // namespace
} // namespace kvalon::testing
