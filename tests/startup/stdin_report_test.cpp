#include "startup/stdin_report.h"

#include "engine/error.h"
#include "tests/support/test_files.h"
#include "tests/support/wait_until.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

namespace kvalon {
namespace {

// True while thread `thread_id` of this process waits in poll(): a reader
// that found the pipe empty and waits for the report to come.
bool waits_in_poll(pid_t thread_id) {
    std::ifstream call("/proc/self/task/" + std::to_string(thread_id) + "/syscall");
    long number = -1;
    call >> number;
#ifdef SYS_poll
    if (number == SYS_poll) {
        return true;
    }
#endif
    return number == SYS_ppoll;
}

// A caller that set its end of the pipe not to wait used to fail the job with
// "Resource temporarily unavailable" when the report came a moment later. The
// report is written only once the reader has found the pipe empty and waits.
TEST(StdinReport, APipeThatDoesNotWaitIsStillReadToItsEnd) {
    testing::TempDir dir;
    int pipe_fds[2];
    ASSERT_EQ(::pipe(pipe_fds), 0);
    ASSERT_EQ(::fcntl(pipe_fds[0], F_SETFL, O_NONBLOCK), 0);
    std::thread writer([fd = pipe_fds[1], reader = ::gettid()] {
        EXPECT_TRUE(testing::wait_until([reader] { return waits_in_poll(reader); },
                                        std::chrono::seconds(10)));
        EXPECT_EQ(::write(fd, "late\r\n", 6), 6);
        ::close(fd);
    });
    try {
        const StdinReport report(pipe_fds[0], dir.path());
        EXPECT_EQ(testing::read_bytes(report.path()), "late\r\n");
    } catch (const KvalonError& error) {
        ADD_FAILURE() << error.what();
    }
    writer.join();
    ::close(pipe_fds[0]);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

} // namespace
} // namespace kvalon
