#include "backend/backend_status.h"

#include "engine/error.h"

#include <cups/backend.h>

namespace kvalon {

int backend_status_for(const KvalonError& error) {
    switch (error.kind()) {
    case ErrorKind::MissingFile:
    case ErrorKind::NotRegularFile:
    case ErrorKind::InputTooLarge:
    case ErrorKind::FileVanished:
    case ErrorKind::CommandLine:
    case ErrorKind::BadActionWord:
    case ErrorKind::File:
    case ErrorKind::EmptyReport:
    case ErrorKind::NotTextReport:
    case ErrorKind::BlankPages:
    case ErrorKind::LineTooLong:
    case ErrorKind::TooManyPages:
    case ErrorKind::PageTooFull:
    case ErrorKind::Layout:
    case ErrorKind::PaperTooLarge:
    // What the destination cancels cannot print there: a stopped queue would
    // wait for it again.
    case ErrorKind::JobCancelled:
        return CUPS_BACKEND_CANCEL;
    case ErrorKind::NoPrinter:
    case ErrorKind::FileWrite:
    case ErrorKind::Printer:
    case ErrorKind::PrintServiceSilent:
    case ErrorKind::PrintServiceAbsent:
    case ErrorKind::QueueSetup:
    case ErrorKind::QueueRemoval:
        break;
    }
    return CUPS_BACKEND_FAILED;
}

} // namespace kvalon
