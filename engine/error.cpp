#include "engine/error.h"

namespace kvalon {

namespace {
const char* kind_name(ErrorKind kind) {
    switch (kind) {
    case ErrorKind::File:
        return "file";
    case ErrorKind::FileWrite:
        return "file write";
    case ErrorKind::Printer:
        return "printer";
    case ErrorKind::Overflow:
        return "overflow";
    case ErrorKind::Layout:
        return "layout";
    case ErrorKind::CommandLine:
        return "command line";
    case ErrorKind::TooManyPages:
        return "too many pages";
    }
    return "error";
}
} // namespace

KvalonError::KvalonError(ErrorKind kind, std::string path, std::string detail)
    : std::runtime_error(std::string(kind_name(kind)) + ": " + path +
                         (detail.empty() ? "" : " (" + detail + ")")),
      m_kind(kind), m_path(std::move(path)), m_detail(std::move(detail)) {}

} // namespace kvalon
