// Preloaded into a program by kvalon_start_to_exit --first-byte: notes
// (CLOCK_MONOTONIC, into $KVALON_FIRST_BYTE_FILE) when the first "%PDF"
// leaves the process through a socket, as libcups sends a job's document.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dlfcn.h>
#include <sys/socket.h>
#include <sys/types.h>

namespace {

bool g_noted = false;

void look_at(const void* data, size_t length) {
    if (g_noted || length < 4 || memmem(data, length, "%PDF", 4) == nullptr) {
        return;
    }
    g_noted = true;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    if (const char* file = std::getenv("KVALON_FIRST_BYTE_FILE")) {
        if (std::FILE* out = std::fopen(file, "w")) {
            std::fprintf(out, "%ld %ld\n", static_cast<long>(now.tv_sec), now.tv_nsec);
            std::fclose(out);
        }
    }
}

template <typename Function> Function next(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" ssize_t send(int fd, const void* data, size_t length, int flags) {
    static const auto real = next<decltype(&send)>("send");
    look_at(data, length);
    return real(fd, data, length, flags);
}

extern "C" ssize_t write(int fd, const void* data, size_t length) {
    static const auto real = next<decltype(&write)>("write");
    look_at(data, length);
    return real(fd, data, length);
}
