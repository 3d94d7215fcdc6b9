#include "engine/error.h"

#include "engine/messages.h"

#include <cerrno>
#include <cstring>

namespace kvalon {

namespace {
const char* kind_name(ErrorKind kind) {
    switch (kind) {
    case ErrorKind::NoPrinter:
        return "no printer";
    case ErrorKind::MissingFile:
        return "missing file";
    case ErrorKind::FileVanished:
        return "file vanished";
    case ErrorKind::CommandLine:
        return "command line";
    case ErrorKind::BadActionWord:
        return "action word";
    case ErrorKind::File:
        return "file";
    case ErrorKind::EmptyReport:
        return "empty report";
    case ErrorKind::LineTooLong:
        return "line too long";
    case ErrorKind::TooManyPages:
        return "too many pages";
    case ErrorKind::Layout:
        return "layout";
    case ErrorKind::FileWrite:
        return "file write";
    case ErrorKind::Printer:
        return "printer";
    case ErrorKind::QueueSetup:
        return "queue setup";
    case ErrorKind::QueueRemoval:
        return "queue removal";
    }
    return "error";
}
} // namespace

KvalonError::KvalonError(ErrorKind kind, std::string path, std::string detail)
    : std::runtime_error(std::string(kind_name(kind)) + ": " + path +
                         (detail.empty() ? "" : " (" + detail + ")")),
      m_kind(kind), m_path(std::move(path)), m_detail(std::move(detail)) {}

std::string system_reason(int error_number) {
    switch (error_number) {
    case EACCES:
    case EPERM:
        return messages::kAccessDenied;
    case ENOENT:
        return messages::kNoSuchPath;
    case ENOSPC:
        return messages::kDiskFull;
    case EISDIR:
        return messages::kIsFolder;
    case EROFS:
        return messages::kReadOnlyDisk;
    case ENOTDIR:
        return messages::kNotAFolder;
    case EIO:
        return messages::kInputOutput;
    case EFBIG:
        return messages::kTooBig;
    case EDQUOT:
        return messages::kQuotaExceeded;
    default:
        return std::strerror(error_number);
    }
}

} // namespace kvalon
