#include "printing/qt/pdf_output.h"

#include "engine/error.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>

namespace kvalon {

namespace {

// The trailer Qt writes is a few dozen bytes; this is ample.
constexpr long kTailBytes = 1024;
constexpr std::string_view kEndMark = "%%EOF";
constexpr std::string_view kStartXref = "startxref";
constexpr std::string_view kXref = "xref";
// Less room than one buffer of the writer counts as a full file system.
constexpr unsigned long long kNearlyFullBytes = 64 * 1024;

std::string read_at(std::FILE* file, long offset, std::size_t count) {
    std::string bytes(count, '\0');
    if (std::fseek(file, offset, SEEK_SET) != 0) {
        return {};
    }
    bytes.resize(std::fread(bytes.data(), 1, count, file));
    return bytes;
}

// The offset after the last "startxref", or -1 when there is none.
long xref_offset(const std::string& tail) {
    const std::size_t at = tail.rfind(kStartXref);
    if (at == std::string::npos) {
        return -1;
    }
    const char* digits = tail.c_str() + at + kStartXref.size();
    char* end = nullptr;
    const long offset = std::strtol(digits, &end, 10);
    return end == digits ? -1 : offset;
}

bool ends_with_end_mark(std::string tail) {
    while (!tail.empty() && (tail.back() == '\n' || tail.back() == '\r')) {
        tail.pop_back();
    }
    return tail.size() >= kEndMark.size() &&
           tail.compare(tail.size() - kEndMark.size(), kEndMark.size(), kEndMark) == 0;
}

[[noreturn]] void write_failed(const std::string& path, int reason) {
    throw KvalonError(ErrorKind::FileWrite, path, system_reason(reason));
}

} // namespace

bool pdf_is_complete(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    bool complete = false;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long size = std::ftell(file);
        const long tail_start = size > kTailBytes ? size - kTailBytes : 0;
        const std::string tail =
            read_at(file, tail_start, static_cast<std::size_t>(size - tail_start));
        const long offset = xref_offset(tail);
        complete = size > 0 && ends_with_end_mark(tail) && offset > 0 && offset < size &&
                   read_at(file, offset, kXref.size()) == kXref;
    }
    std::fclose(file);
    return complete;
}

bool is_stream_target(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode);
}

void copy_to_stream(const std::string& from, const std::string& to) {
    std::FILE* source = std::fopen(from.c_str(), "rb");
    if (source == nullptr) {
        write_failed(to, errno);
    }
    const int target = ::open(to.c_str(), O_WRONLY | O_CLOEXEC);
    if (target < 0) {
        const int reason = errno;
        std::fclose(source);
        write_failed(to, reason);
    }
    std::vector<char> buffer(std::size_t{1} << 16);
    int reason = 0;
    for (std::size_t count = 0;
         reason == 0 && (count = std::fread(buffer.data(), 1, buffer.size(), source)) > 0;) {
        for (std::size_t done = 0; done < count;) {
            const ssize_t written = ::write(target, buffer.data() + done, count - done);
            if (written < 0 && errno == EINTR) {
                continue;
            }
            if (written <= 0) {
                reason = written < 0 ? errno : EIO;
                break;
            }
            done += static_cast<std::size_t>(written);
        }
    }
    if (reason == 0 && std::ferror(source)) {
        reason = EIO;
    }
    std::fclose(source);
    if (::close(target) != 0 && reason == 0) {
        reason = errno;
    }
    if (reason != 0) {
        write_failed(to, reason);
    }
}

std::string write_failure_reason(const std::string& folder, const std::string& fallback) {
    struct statvfs space {};
    if (::statvfs(folder.c_str(), &space) == 0 &&
        space.f_bavail * space.f_frsize < kNearlyFullBytes) {
        return system_reason(ENOSPC);
    }
    return fallback;
}

} // namespace kvalon
