// A queue's paper is read through libcups; before, Qt's print support read it
// from the queue's PPD. Plans for a queue must not change, so both must name
// the same sheet. Kept as long as the windows link Qt's print support.
#include "printing/cups/queue_paper.h"
#include "printing/paper_sizes.h"
#include "tests/support/test_files.h"

#include <QGuiApplication>
#include <QPageLayout>
#include <QPrinterInfo>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace kvalon::testing {
namespace {

const std::string kPpd = "lsb/usr/cups-pdf/CUPS-PDF_opt.ppd";

class QueuePaper : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::getenv("KVALON_CUPS_TEST") == nullptr) {
            GTEST_SKIP() << "no CUPS scheduler for the tests";
        }
        // Before libcups reads the user's options for the first time.
        setenv("HOME", dir.path().c_str(), 1);
    }
    void TearDown() override {
        for (const std::string& queue : queues) {
            run_program({"lpadmin", "-x", queue});
        }
    }

    std::string add_queue(const std::string& name, const std::vector<std::string>& how) {
        const std::string queue = name + std::to_string(getpid());
        std::vector<std::string> words{"lpadmin", "-p", queue, "-E", "-v", "file:/dev/null"};
        words.insert(words.end(), how.begin(), how.end());
        EXPECT_EQ(run_program(words).status, 0) << queue;
        queues.push_back(queue);
        return queue;
    }

    TempDir dir;
    std::vector<std::string> queues;
};

TEST_F(QueuePaper, EveryQueueGetsTheSheetQtGaveIt) {
    add_queue("KvalonA4", {"-m", kPpd});
    add_queue("KvalonLetter", {"-m", kPpd, "-o", "PageSize=Letter"});
    add_queue("KvalonA5", {"-m", kPpd, "-o", "PageSize=A5"});
    add_queue("KvalonEnvelope", {"-m", kPpd, "-o", "PageSize=EnvC5"});
    // A size of its own, and one the print service cannot name: from the PPD.
    add_queue("KvalonSra4", {"-m", kPpd, "-o", "PageSize=SRA4"});
    add_queue("KvalonTabloidExtra", {"-m", kPpd, "-o", "PageSize=TabloidExtra"});
    const std::string by_user = add_queue("KvalonByUser", {"-m", kPpd});
    const std::string raw = add_queue("KvalonRaw", {});
    std::filesystem::create_directories(dir.file(".cups"));
    write_bytes(dir.file(".cups/lpoptions"), "Dest " + by_user + " PageSize=Legal\n");

    static int argc = 1;
    static char name[] = "queue_paper_test";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* const application = new QGuiApplication(argc, argv);
    (void)application;
    for (const std::string& queue : queues) {
        const QPageSize qts =
            QPrinterInfo::printerInfo(QString::fromStdString(queue)).defaultPageSize();
        const PaperSize ours = queue_default_paper(queue);
        ASSERT_EQ(ours.is_valid(), qts.isValid()) << queue;
        if (!qts.isValid()) {
            continue;
        }
        const QPageLayout layout(qts, QPageLayout::Portrait, QMarginsF());
        EXPECT_EQ(code_for_paper(ours), qts.windowsId() > 0 ? qts.windowsId() : 256) << queue;
        EXPECT_EQ(ours.width_mm, layout.fullRect(QPageLayout::Millimeter).width()) << queue;
        EXPECT_EQ(ours.height_mm, layout.fullRect(QPageLayout::Millimeter).height()) << queue;
        EXPECT_EQ(ours.width_points, layout.fullRectPoints().width()) << queue;
        EXPECT_EQ(ours.height_points, layout.fullRectPoints().height()) << queue;
    }
    EXPECT_EQ(queue_default_paper(by_user).key, "Legal");
    EXPECT_FALSE(queue_default_paper(raw).is_valid());
}

} // namespace
} // namespace kvalon::testing
