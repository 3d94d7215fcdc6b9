#include "engine/error_report.h"

#include "engine/exit_status.h"
#include "engine/messages.h"

#include <stdexcept>

namespace kvalon {

namespace {

// A sentence is its lead, the path, its tail and, where the kind has one, the
// reason in brackets.
struct KindReport {
    const std::string& lead;
    const std::string& tail;
    int status;
};

const std::string kNothing;

// Every kind has its row here: the switch names each one and has no default,
// so a kind added without a sentence does not compile.
KindReport report_of(ErrorKind kind) {
    switch (kind) {
    case ErrorKind::NoPrinter:
        return {messages::kNoPrinter, kNothing, kExitNoPrinter};
    case ErrorKind::MissingFile:
        return {messages::kMissingFile, kNothing, kExitMissingFile};
    case ErrorKind::NotRegularFile:
        return {messages::kNotRegularFile, kNothing, kExitMissingFile};
    case ErrorKind::FileVanished:
        return {messages::kFileVanished, kNothing, kExitJobFailed};
    case ErrorKind::CommandLine:
        return {messages::kBadOption, kNothing, kExitCommandLine};
    case ErrorKind::BadActionWord:
        return {messages::kBadActionWord, kNothing, kExitCommandLine};
    case ErrorKind::File:
        return {messages::kCannotRead, kNothing, kExitJobFailed};
    case ErrorKind::InputTooLarge:
        return {messages::kReportTooLarge, kNothing, kExitJobFailed};
    case ErrorKind::EmptyReport:
        return {messages::kEmptyFile, messages::kHasZeroLength, kExitJobFailed};
    case ErrorKind::NotTextReport:
        return {messages::kNotTextReport, kNothing, kExitJobFailed};
    case ErrorKind::BlankPages:
        return {messages::kBlankPages, kNothing, kExitJobFailed};
    case ErrorKind::LineTooLong:
        return {messages::kLineTooLong, kNothing, kExitJobFailed};
    case ErrorKind::TooManyPages:
        return {messages::kTooManyPages, kNothing, kExitJobFailed};
    case ErrorKind::PageTooFull:
        return {messages::kPageTooFull, kNothing, kExitJobFailed};
    case ErrorKind::Layout:
        return {messages::kPaperTooSmall, kNothing, kExitJobFailed};
    case ErrorKind::PaperTooLarge:
        return {messages::kPaperTooLarge, kNothing, kExitJobFailed};
    case ErrorKind::FileWrite:
        return {messages::kCannotWrite, kNothing, kExitJobFailed};
    case ErrorKind::Printer:
    case ErrorKind::JobCancelled:
        return {messages::kPrinterFailed, kNothing, kExitJobFailed};
    case ErrorKind::PrintServiceSilent:
        return {messages::kServiceNotAnswering, kNothing, kExitNoPrinter};
    case ErrorKind::PrintServiceAbsent:
        return {messages::kServiceNotInstalled, kNothing, kExitNoPrinter};
    case ErrorKind::QueueSetup:
        return {messages::kQueueNotSetUp, kNothing, kExitQueueSetup};
    case ErrorKind::QueueRemoval:
        return {messages::kQueueNotRemoved, kNothing, kExitQueueSetup};
    }
    throw std::logic_error("an error kind without a sentence");
}

} // namespace

std::string message_for(const KvalonError& error) {
    const KindReport report = report_of(error.kind());
    std::string text = report.lead + error.path() + report.tail;
    if (!error.detail().empty()) {
        text += " (" + error.detail() + ")";
    }
    return text;
}

int exit_status_for(const KvalonError& error) {
    return report_of(error.kind()).status;
}

} // namespace kvalon
