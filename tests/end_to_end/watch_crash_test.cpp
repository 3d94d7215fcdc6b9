#include "tests/end_to_end/spool_fixture.h"
#include "tests/support/pdf_tools.h"

#include <random>

namespace kvalon::testing {
namespace {

// A watcher killed outright again and again at moments a fixed-seed
// generator picks, across a hundred jobs, each time started again: in the
// end every file is printed and moved once, into one PDF of its own.
TEST_F(SpoolFixture, AWatcherKilledAtRandomMomentsPrintsEveryJobExactlyOnce) {
    constexpr std::size_t kJobs = 100;
    for (std::size_t i = 0; i < kJobs; ++i) {
        drop("J" + std::to_string(i) + ".TXT", report_named("J" + std::to_string(i)));
    }
    const std::vector<std::string> watching = {"--pdf", out(), "--watch", in(), "--settle", "0.05"};
    std::mt19937 generator(20261209);
    std::uniform_int_distribution<std::size_t> jobs_between(1, 6);
    std::uniform_int_distribution<int> extra_microseconds(0, 40000);
    int kills = 0;
    for (std::size_t printed = 0; printed < kJobs; printed = names_in(in("printed")).size()) {
        const pid_t watcher = start(watching);
        const std::size_t until = std::min(kJobs, printed + jobs_between(generator));
        ASSERT_TRUE(wait_until([&] { return names_in(in("printed")).size() >= until; }));
        if (until == kJobs) {
            stop(watcher);
            break;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(extra_microseconds(generator)));
        kill(watcher, SIGKILL);
        ended(watcher);
        ++kills;
    }
    EXPECT_GT(kills, 10);
    EXPECT_EQ(names_in(in("printed")).size(), kJobs);
    EXPECT_TRUE(names_in(in("failed")).empty());
    const std::vector<std::string> pdfs = names_in(out());
    ASSERT_EQ(pdfs.size(), kJobs);
    for (std::size_t i = 0; i < kJobs; ++i) {
        const std::string name = "J" + std::to_string(i);
        ASSERT_TRUE(file_exists(out(name + ".pdf"))) << name;
        EXPECT_EQ(pdf_lines(out(name + ".pdf")).front(), "Отчет " + name + " Сума 12.50");
    }
}

} // namespace
} // namespace kvalon::testing
