#include "startup/watch/settle_tracker.h"
#include "startup/watch/spool_journal.h"
#include "startup/watch/watch_settings.h"

#include <gtest/gtest.h>

namespace kvalon {
namespace {

using namespace std::chrono_literals;
using Clock = SettleTracker::Clock;

FolderEntry file(std::int64_t size, std::int64_t changed, FileNumber inode = 7) {
    return FolderEntry{"R.TXT", true, size, changed, 1, inode};
}

// The second look comes 2 s after the first; the file settles in 1 s unless
// the second look finds it changed.
TEST(SettleTracker, AFileSettlesOnlyAfterItStayedTheSame) {
    const struct {
        const char* why;
        FolderEntry second;
        bool settled_at_third_look; // 0.5 s after the second
    } cases[] = {
        {"unchanged", file(10, 100), true},
        {"grown", file(20, 100), false},
        {"rewritten to the same size", file(10, 200), false},
        {"another file renamed over it", file(10, 100, 8), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        SettleTracker tracker(1s);
        const Clock::time_point start;
        EXPECT_TRUE(tracker.look({file(10, 100)}, start).empty());
        const bool settled_at_second = !tracker.look({c.second}, start + 2s).empty();
        EXPECT_EQ(settled_at_second, c.settled_at_third_look);
        EXPECT_EQ(tracker.look({c.second}, start + 2500ms).size(),
                  c.settled_at_third_look ? 1u : 0u);
    }
}

TEST(SettleTracker, AFileThatWentAndCameBackWaitsAfresh) {
    SettleTracker tracker(1s);
    const Clock::time_point start;
    tracker.look({file(10, 100)}, start);
    tracker.look({}, start + 1s);
    EXPECT_TRUE(tracker.look({file(10, 100)}, start + 2s).empty());
    EXPECT_EQ(tracker.next_wait(start + 2s, 5s), 1s);
}

TEST(SpoolJournal, ReadsTheLastWordOnEachNameAndNoLineCutShort) {
    const std::string name = "-n\nodd %name\xff";
    const std::string text = "claim A " + escape_name(name) + "\n" +
                             "begin A /out/A.pdf 1700000000\n" + "sent A\n" + "done A\n" +
                             "claim A A.TXT\n" + "begin A - 1700000100\n" + "claim B B.TXT\n" +
                             "begin B /out/B.pdf 17";
    const auto entries = read_journal_text(text);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries.at("A").name, "A.TXT");
    EXPECT_EQ(entries.at("A").step, SpoolJournal::Step::Begun);
    EXPECT_EQ(entries.at("A").target, "");
    EXPECT_EQ(entries.at("A").begun_at, 1700000100);
    EXPECT_EQ(entries.at("B").step, SpoolJournal::Step::Claimed);
    EXPECT_EQ(read_journal_text("claim A " + escape_name(name) + "\n").at("A").name, name);
}

TEST(PortAddress, TellsTheKindOfSourceAndRefusesWhatIsNone) {
    EXPECT_EQ(parse_port_address("unix:/run/lpt1")->path, "/run/lpt1");
    const auto tcp = parse_port_address("tcp:127.0.0.1:9100");
    ASSERT_TRUE(tcp);
    EXPECT_EQ(tcp->kind, PortAddress::Kind::Tcp);
    EXPECT_EQ(tcp->address, "127.0.0.1");
    EXPECT_EQ(tcp->port, 9100);
    EXPECT_EQ(parse_port_address("/tmp/a:b")->kind, PortAddress::Kind::Pipe);
    for (const char* refused : {"", "unix:", "tcp:127.0.0.1", "tcp::9100", "tcp:h:0", "com1:x"}) {
        EXPECT_FALSE(parse_port_address(refused)) << refused;
    }
}

} // namespace
} // namespace kvalon
