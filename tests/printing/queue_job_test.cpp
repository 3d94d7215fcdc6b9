// A queue's jobs against a print service in memory: what is cancelled, what
// is told and what counts as printed, at every step where the service can
// refuse, break off or fall silent.
#include "engine/error.h"
#include "engine/messages.h"
#include "engine/notice.h"
#include "engine/signal_cleanup.h"
#include "printing/cups/queue_destination.h"
#include "printing/page_surface.h"
#include "printing/printer_binding.h"
#include "tests/printing/fake_print_service.h"
#include "tests/printing/pdf_test_document.h"
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kvalon::testing {
namespace {

constexpr const char* kQueue = "Office";
const std::string kNotFollowed = messages::kStoppedWatching + kQueue;

class QueueJob : public ::testing::Test {
protected:
    QueueDestination destination(QueueSettings settings = {}) const {
        settings.queue = kQueue;
        return QueueDestination(std::move(settings), 2, service);
    }
    // One document of two pages through the queue's page sink; the failure's
    // reason, empty when the sink took it.
    std::string print_two_pages(const QueueDestination& queue) {
        const std::unique_ptr<DocumentSink> sink = queue.make_page_sink();
        try {
            sink->begin(DocumentInfo{"Kvalon-P REPORT.TXT", 2});
            sink->add_page(test_page(false));
            sink->add_page(test_page(false));
            sink->finish();
        } catch (const KvalonError& error) {
            EXPECT_EQ(error.kind(), ErrorKind::Printer);
            EXPECT_EQ(error.path(), kQueue);
            return error.detail();
        }
        unconfirmed = sink->unconfirmed();
        return {};
    }

    std::shared_ptr<FakePrintService> service = std::make_shared<FakePrintService>();
    std::vector<std::string> told;
    const NoticeScope notices{[this](const std::string& text) { told.push_back(text); }};
    std::string unconfirmed;
};

// Until the service has the whole document a failure cancels the job, so
// that nothing of it prints, and is then told; once it has it, nothing but
// the printer's own failure is a failure, and a job the program could not
// see printed is told as such and left to print.
TEST_F(QueueJob, HandOverAndCancelRules) {
    using Script = FakePrintService::Script;
    using State = JobOutcome::State;
    const std::string refused = FakePrintService::kRefused;
    struct Case {
        const char* what;
        std::function<void(Script&)> set;
        std::string failure;        // empty: printed, or left to print
        std::vector<int> cancelled; // job ids
        std::string told;           // the end of the one note, or none
    };
    const std::vector<Case> cases = {
        {"printed", [](Script&) {}, "", {}, ""},
        {"queue refuses", [](Script& s) { s.queue_refusal = "stopped"; }, "stopped", {}, ""},
        {"job refused", [](Script& s) { s.refuse_job = true; }, refused, {}, ""},
        {"document refused", [](Script& s) { s.refuse_document = true; }, refused, {41}, ""},
        {"bytes refused", [](Script& s) { s.bytes_taken = 100; }, refused, {41}, ""},
        {"end not sent",
         [](Script& s) { s.hand_over_fails = true; },
         messages::kServiceSilent,
         {41},
         ""},
        {"document said no to", [](Script& s) { s.answer = "no"; }, "no", {41}, ""},
        {"no answer to the whole document",
         [](Script& s) { s.answer.reset(); },
         "",
         {},
         messages::kStoppedWatchingSilent},
        {"printer failed",
         [](Script& s) {
             s.outcome = {State::Failed, "jam"};
         },
         "jam",
         {},
         ""},
        {"still waiting at the limit",
         [](Script& s) {
             s.outcome = {State::StillWaiting, {}};
         },
         "",
         {},
         messages::kStoppedWatchingAfter + std::to_string(kJobWaitSeconds) +
             messages::kStoppedWatchingNotYetPrinted},
        {"service fell silent",
         [](Script& s) {
             s.outcome = {State::ServiceSilent, {}};
         },
         "",
         {},
         messages::kStoppedWatchingSilent},
        {"watcher gone",
         [](Script& s) {
             s.outcome = {State::Unwatched, {}};
         },
         "",
         {},
         ""},
    };
    for (const Case& c : cases) {
        service = std::make_shared<FakePrintService>();
        told.clear();
        unconfirmed.clear();
        c.set(service->script);
        const std::string failure = print_two_pages(destination(QueueSettings{}));
        EXPECT_EQ(failure, c.failure) << c.what;
        EXPECT_EQ(service->cancelled, c.cancelled) << c.what;
        const std::vector<std::string> note = c.told.empty()
                                                  ? std::vector<std::string>{}
                                                  : std::vector<std::string>{kNotFollowed + c.told};
        EXPECT_EQ(told, note) << c.what;
        EXPECT_EQ(unconfirmed, c.told.empty() ? "" : note.front()) << c.what;
    }
}

TEST_F(QueueJob, AnAbandonedDocumentIsCancelled) {
    const std::unique_ptr<DocumentSink> sink = destination().make_page_sink();
    sink->begin(DocumentInfo{"Kvalon-P REPORT.TXT", 1});
    sink->add_page(test_page(false));
    sink->abandon();
    EXPECT_EQ(service->cancelled, std::vector<int>{FakePrintService::kJobId});
    EXPECT_FALSE(service->handed_over);
}

// Every way a queue's job is made carries what the queue was asked with: the
// windows' print actions made their settings by hand and dropped some.
TEST_F(QueueJob, EveryJobCarriesTheQueuesSettings) {
    QueueSettings settings;
    settings.media = "A4"; // known without asking the print service
    settings.job_options = {{"sides", "two-sided-long-edge"}};
    settings.job_wait_seconds = 7;
    settings.signal_cancels_followed_job = true;
    TempDir dir;
    write_bytes(dir.file("doc.ps"), "%!PS\nshowpage\n");
    using Queue = std::shared_ptr<const QueueDestination>;
    const std::pair<const char*, std::function<void(const Queue&)>> routes[] = {
        {"a report's pages",
         [](const Queue& queue) {
             const std::unique_ptr<PrinterSurface> surface = make_printer_surface(queue);
             surface->print("Отчет", true);
             surface->end_doc();
         }},
        {"pages drawn beside the windows", [this](const Queue& queue) { print_two_pages(*queue); }},
        {"a document passed on",
         [&dir](const Queue& queue) {
             queue->pass_document(DocumentKind::PostScript, dir.file("doc.ps"), "doc.ps");
         }},
    };
    for (const auto& [route, print] : routes) {
        service = std::make_shared<FakePrintService>();
        print(std::make_shared<QueueDestination>(destination(settings)));
        ASSERT_EQ(service->asked.size(), 1u) << route;
        const CupsJobSettings& asked = service->asked.front();
        EXPECT_EQ(asked.queue, kQueue) << route;
        EXPECT_EQ(asked.options, settings.job_options) << route;
        EXPECT_EQ(asked.wait_seconds, 7) << route;
        EXPECT_TRUE(asked.signal_cancels_followed_job) << route;
        ASSERT_EQ(service->jobs.size(), 1u) << route;
        EXPECT_EQ(service->jobs.front().back(), (JobOption{"copies", "2"})) << route;
    }
}

// An ending signal while the document is sent cancels the job at the next
// page, then ends the program by it; while the job is followed, only where
// the queue's settings say so (the print-server backend).
TEST_F(QueueJob, AnEndingSignalCancelsWhatIsNotHandedOver) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto while_sent = [this] {
        install_signal_cleanup();
        const std::unique_ptr<DocumentSink> sink = destination().make_page_sink();
        sink->begin(DocumentInfo{"Kvalon-P REPORT.TXT", 1});
        std::raise(SIGTERM);
        sink->add_page(test_page(false));
    };
    EXPECT_EXIT(while_sent(), ::testing::KilledBySignal(SIGTERM), "cancelled 41");
    for (const bool cancels : {true, false}) {
        const auto while_followed = [this, cancels] {
            install_signal_cleanup();
            service->script.signal_while_followed = true;
            QueueSettings settings;
            settings.signal_cancels_followed_job = cancels;
            print_two_pages(destination(settings));
        };
        EXPECT_EXIT(while_followed(), ::testing::KilledBySignal(SIGTERM),
                    cancels ? "cancelled 41" : "^$");
    }
}

} // namespace
} // namespace kvalon::testing
