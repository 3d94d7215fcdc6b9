#include "startup/error_report.h"

#include "engine/messages.h"
#include "startup/exit_status.h"

namespace kvalon {

namespace {
std::string with_detail(const std::string& text, const KvalonError& error) {
    return error.detail().empty() ? text : text + " (" + error.detail() + ")";
}
} // namespace

std::string message_for(const KvalonError& error) {
    switch (error.kind()) {
    case ErrorKind::File:
        return with_detail(messages::kCannotRead + error.path(), error);
    case ErrorKind::FileWrite:
        return with_detail(messages::kCannotWrite + error.path(), error);
    case ErrorKind::Overflow:
        return messages::kLineTooLong + error.path();
    case ErrorKind::Layout:
        return messages::kPaperTooSmall + error.path();
    case ErrorKind::Printer:
        return with_detail(messages::kPrinterFailed + error.path(), error);
    case ErrorKind::CommandLine:
        return messages::kBadOption + error.path();
    case ErrorKind::TooManyPages:
        return messages::kTooManyPages + error.path();
    }
    return error.what();
}

int exit_status_for(const KvalonError& error) {
    return error.kind() == ErrorKind::CommandLine ? kExitCommandLine : kExitJobFailed;
}

} // namespace kvalon
