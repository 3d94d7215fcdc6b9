#include "engine/error.h"

#include "engine/messages.h"

#include <cerrno>

namespace kvalon {

namespace {
const char* kind_name(ErrorKind kind) {
    switch (kind) {
    case ErrorKind::NoPrinter:
        return "no printer";
    case ErrorKind::MissingFile:
        return "missing file";
    case ErrorKind::NotRegularFile:
        return "not a regular file";
    case ErrorKind::FileVanished:
        return "file vanished";
    case ErrorKind::CommandLine:
        return "command line";
    case ErrorKind::BadActionWord:
        return "action word";
    case ErrorKind::File:
        return "file";
    case ErrorKind::InputTooLarge:
        return "input too large";
    case ErrorKind::EmptyReport:
        return "empty report";
    case ErrorKind::NotTextReport:
        return "not a text report";
    case ErrorKind::BlankPages:
        return "blank pages";
    case ErrorKind::LineTooLong:
        return "line too long";
    case ErrorKind::TooManyPages:
        return "too many pages";
    case ErrorKind::PageTooFull:
        return "page too full";
    case ErrorKind::Layout:
        return "layout";
    case ErrorKind::PaperTooLarge:
        return "paper too large";
    case ErrorKind::FileWrite:
        return "file write";
    case ErrorKind::Printer:
        return "printer";
    case ErrorKind::JobCancelled:
        return "job cancelled";
    case ErrorKind::QueueSetup:
        return "queue setup";
    case ErrorKind::QueueRemoval:
        return "queue removal";
    case ErrorKind::PrintServiceSilent:
        return "print service silent";
    case ErrorKind::PrintServiceAbsent:
        return "print service absent";
    }
    return "error";
}
} // namespace

KvalonError::KvalonError(ErrorKind kind, std::string path, std::string detail)
    : std::runtime_error(std::string(kind_name(kind)) + ": " + path +
                         (detail.empty() ? "" : " (" + detail + ")")),
      m_kind(kind), m_path(std::move(path)), m_detail(std::move(detail)) {}

namespace {

struct SystemReason {
    int error_number;
    const std::string& reason;
};

// Every errno a user of this program can meet, in the user's words.
const SystemReason kSystemReasons[] = {
    {EACCES, messages::kAccessDenied},
    {EPERM, messages::kAccessDenied},
    {ENOENT, messages::kNoSuchPath},
    {ENOSPC, messages::kDiskFull},
    {EISDIR, messages::kIsFolder},
    {EROFS, messages::kReadOnlyDisk},
    {ENOTDIR, messages::kNotAFolder},
    {EIO, messages::kInputOutput},
    {EFBIG, messages::kTooBig},
    {EOVERFLOW, messages::kTooBig},
// Windows's C runtime has no numbers for a quota or a stale network file.
#ifdef EDQUOT
    {EDQUOT, messages::kQuotaExceeded},
#endif
    {EBADF, messages::kNotOpenForThis},
    {ENAMETOOLONG, messages::kNameTooLong},
    {EAGAIN, messages::kTemporarilyUnavailable},
    {ELOOP, messages::kTooManyLinks},
    {EMLINK, messages::kTooManyLinks},
    {EMFILE, messages::kTooManyOpenFiles},
    {ENFILE, messages::kTooManyOpenFiles},
    {ENOMEM, messages::kOutOfMemory},
    {ETXTBSY, messages::kFileBusy},
    {EBUSY, messages::kFileBusy},
    {EEXIST, messages::kAlreadyExists},
    {EINVAL, messages::kNotPossibleHere},
    {ENOTSUP, messages::kNotPossibleHere},
    {ESPIPE, messages::kNotPossibleHere},
    {ENXIO, messages::kNoSuchDevice},
    {ENODEV, messages::kNoSuchDevice},
    {EXDEV, messages::kOtherDisk},
    {EPIPE, messages::kPipeClosed},
    {ETIMEDOUT, messages::kTimedOut},
    {ECONNREFUSED, messages::kConnectionRefused},
    {EINTR, messages::kInterrupted},
#ifdef ESTALE
    {ESTALE, messages::kStaleNetworkFile},
#endif
    {ENOTEMPTY, messages::kFolderNotEmpty},
};

} // namespace

std::string system_reason(int error_number) {
    for (const SystemReason& known : kSystemReasons) {
        if (known.error_number == error_number) {
            return known.reason;
        }
    }
    return messages::kSystemError + std::to_string(error_number);
}

} // namespace kvalon
