#include "startup/stdin_report.h"

#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <thread>
#include <unistd.h>

namespace kvalon {
namespace {

// A caller that set its end of the pipe not to wait used to fail the job with
// "Resource temporarily unavailable" when the report came a moment later.
TEST(StdinReport, APipeThatDoesNotWaitIsStillReadToItsEnd) {
    testing::TempDir dir;
    int pipe_fds[2];
    ASSERT_EQ(::pipe(pipe_fds), 0);
    ASSERT_EQ(::fcntl(pipe_fds[0], F_SETFL, O_NONBLOCK), 0);
    std::thread writer([fd = pipe_fds[1]] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        EXPECT_EQ(::write(fd, "late\r\n", 6), 6);
        ::close(fd);
    });
    {
        const StdinReport report(pipe_fds[0], dir.path());
        EXPECT_EQ(testing::read_bytes(report.path()), "late\r\n");
    }
    writer.join();
    ::close(pipe_fds[0]);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

} // namespace
} // namespace kvalon
