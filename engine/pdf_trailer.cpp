#include "engine/pdf_trailer.h"

#include "engine/error.h"
#include "engine/messages.h"
#include "platform/descriptor_io.h"

#include <cctype>

namespace kvalon {

namespace {

constexpr long long kTailBytes = 1024;
// A cross-reference stream's dictionary comes before its data.
constexpr std::size_t kObjectHeadBytes = 4096;
constexpr std::string_view kEndMark = "%%EOF";
constexpr std::string_view kStartXref = "startxref";
constexpr std::string_view kXref = "xref";

bool is_space(char c) {
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}

std::size_t skip_spaces(std::string_view text, std::size_t at) {
    while (at < text.size() && is_space(text[at])) {
        ++at;
    }
    return at;
}

// The digits at `at`, and where they end; npos when there are none.
std::size_t skip_digits(std::string_view text, std::size_t at) {
    const std::size_t start = at;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) != 0) {
        ++at;
    }
    return at == start ? std::string_view::npos : at;
}

// The offset after the last "startxref" before the last end mark; -1 when
// there is none.
long long xref_offset(std::string_view tail) {
    const std::size_t end_mark = tail.rfind(kEndMark);
    if (end_mark == std::string_view::npos) {
        return -1;
    }
    const std::size_t at = tail.substr(0, end_mark).rfind(kStartXref);
    if (at == std::string_view::npos) {
        return -1;
    }
    const std::size_t digits = skip_spaces(tail, at + kStartXref.size());
    const std::size_t end = skip_digits(tail, digits);
    if (end == std::string_view::npos || end - digits > 15) {
        return -1;
    }
    return std::stoll(std::string(tail.substr(digits, end - digits)));
}

// "N G obj << ... /XRef ... >>" at the start of `head`.
bool is_xref_stream(std::string_view head) {
    std::size_t at = skip_digits(head, 0);
    if (at == std::string_view::npos || (at = skip_spaces(head, at)) == head.size()) {
        return false;
    }
    at = skip_digits(head, at);
    if (at == std::string_view::npos) {
        return false;
    }
    at = skip_spaces(head, at);
    if (head.substr(at, 3) != "obj") {
        return false;
    }
    const std::string_view rest = head.substr(at + 3);
    const std::size_t data = rest.find("stream");
    return rest.substr(0, data).find("/XRef") != std::string_view::npos;
}

} // namespace

bool has_pdf_trailer(long long size, const DocumentReader& read) {
    if (size <= 0) {
        return false;
    }
    const long long tail_start = size > kTailBytes ? size - kTailBytes : 0;
    const std::string tail = read(tail_start, static_cast<std::size_t>(size - tail_start));
    const long long offset = xref_offset(tail);
    if (offset <= 0 || offset >= size) {
        return false;
    }
    const std::string head = read(offset, kObjectHeadBytes);
    return head.rfind(kXref, 0) == 0 || is_xref_stream(head);
}

bool file_has_pdf_trailer(int fd) {
    FileFacts facts;
    if (facts_of(fd, facts) != 0) {
        return false;
    }
    return has_pdf_trailer(facts.identity.size, [fd](long long offset, std::size_t count) {
        return read_at(fd, offset, count);
    });
}

void refuse_broken_pdf(const std::string& path) {
    OwnedFd file;
    FileFacts facts;
    if (const int error = open_for_reading(path, file, facts); error != 0) {
        throw KvalonError(ErrorKind::File, path, system_reason(error));
    }
    if (!file_has_pdf_trailer(file.get())) {
        throw KvalonError(ErrorKind::File, path, messages::kNotAWholePdf);
    }
}

} // namespace kvalon
