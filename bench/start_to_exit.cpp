// Starts a command again and again and tells the time from its start to its
// exit (or, with --first-byte, to the first byte of a PDF it sent), minimum
// and median in microseconds: one loop for every program measured, so that
// our figures and texttopdf's are taken alike.
//
// Usage: kvalon_start_to_exit RUNS OUTPUT [--first-byte] COMMAND [ARGS...]
//   OUTPUT receives the command's standard output of each run.
//   --first-byte: the command runs with kvalon_first_byte preloaded
//   (KVALON_FIRST_BYTE_PROBE names it), which notes when a "%PDF" first
//   leaves the process.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

long microseconds(const timespec& from, const timespec& to) {
    return (to.tv_sec - from.tv_sec) * 1000000L + (to.tv_nsec - from.tv_nsec) / 1000;
}

// The child notes the moment as two numbers, seconds and nanoseconds.
bool read_moment(const std::string& file, timespec& moment) {
    std::FILE* in = std::fopen(file.c_str(), "r");
    if (in == nullptr) {
        return false;
    }
    long seconds = 0;
    long nanoseconds = 0;
    const bool read = std::fscanf(in, "%ld %ld", &seconds, &nanoseconds) == 2;
    std::fclose(in);
    moment = {seconds, nanoseconds};
    return read;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s RUNS OUTPUT [--first-byte] COMMAND [ARGS...]\n", argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    const char* output = argv[2];
    int command = 3;
    const bool first_byte = std::strcmp(argv[command], "--first-byte") == 0;
    std::string moment_file;
    if (first_byte) {
        ++command;
        const char* probe = std::getenv("KVALON_FIRST_BYTE_PROBE");
        if (probe == nullptr) {
            std::fprintf(stderr, "KVALON_FIRST_BYTE_PROBE names no probe\n");
            return 2;
        }
        moment_file = "/tmp/kvalon-first-byte." + std::to_string(getpid());
        setenv("LD_PRELOAD", probe, 1);
        setenv("KVALON_FIRST_BYTE_FILE", moment_file.c_str(), 1);
    }
    std::vector<long> times;
    for (int run = 0; run < runs; ++run) {
        unlink(moment_file.c_str());
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output,
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        timespec start{};
        timespec end{};
        clock_gettime(CLOCK_MONOTONIC, &start);
        pid_t child = 0;
        if (posix_spawn(&child, argv[command], &actions, nullptr, argv + command, environ) != 0) {
            std::perror(argv[command]);
            return 1;
        }
        int status = 0;
        waitpid(child, &status, 0);
        clock_gettime(CLOCK_MONOTONIC, &end);
        posix_spawn_file_actions_destroy(&actions);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "%s ended with status %d\n", argv[command], status);
            return 1;
        }
        if (first_byte && !read_moment(moment_file, end)) {
            std::fprintf(stderr, "%s sent no PDF\n", argv[command]);
            return 1;
        }
        times.push_back(microseconds(start, end));
    }
    unlink(moment_file.c_str());
    std::sort(times.begin(), times.end());
    std::printf("%ld %ld\n", times.front(), times[times.size() / 2]);
    return 0;
}
