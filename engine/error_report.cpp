#include "engine/error_report.h"

#include "engine/exit_status.h"
#include "engine/messages.h"

#include <array>

namespace kvalon {

namespace {

// A sentence is its lead, the path, its tail and, where the kind has one, the
// reason in brackets.
struct KindReport {
    ErrorKind kind;
    const std::string& lead;
    const std::string& tail;
    int status;
};

const std::string kNothing;

const std::array<KindReport, 17> kReports = {{
    {ErrorKind::NoPrinter, messages::kNoPrinter, kNothing, kExitNoPrinter},
    {ErrorKind::MissingFile, messages::kMissingFile, kNothing, kExitMissingFile},
    {ErrorKind::NotRegularFile, messages::kNotRegularFile, kNothing, kExitMissingFile},
    {ErrorKind::FileVanished, messages::kFileVanished, kNothing, kExitJobFailed},
    {ErrorKind::CommandLine, messages::kBadOption, kNothing, kExitCommandLine},
    {ErrorKind::BadActionWord, messages::kBadActionWord, kNothing, kExitCommandLine},
    {ErrorKind::File, messages::kCannotRead, kNothing, kExitJobFailed},
    {ErrorKind::InputTooLarge, messages::kReportTooLarge, kNothing, kExitJobFailed},
    {ErrorKind::EmptyReport, messages::kEmptyFile, messages::kHasZeroLength, kExitJobFailed},
    {ErrorKind::LineTooLong, messages::kLineTooLong, kNothing, kExitJobFailed},
    {ErrorKind::TooManyPages, messages::kTooManyPages, kNothing, kExitJobFailed},
    {ErrorKind::Layout, messages::kPaperTooSmall, kNothing, kExitJobFailed},
    {ErrorKind::FileWrite, messages::kCannotWrite, kNothing, kExitJobFailed},
    {ErrorKind::Printer, messages::kPrinterFailed, kNothing, kExitJobFailed},
    {ErrorKind::QueueSetup, messages::kQueueNotSetUp, kNothing, kExitQueueSetup},
    {ErrorKind::QueueRemoval, messages::kQueueNotRemoved, kNothing, kExitQueueSetup},
    {ErrorKind::PrintServiceSilent, messages::kServiceNotAnswering, kNothing, kExitNoPrinter},
}};

const KindReport& report_of(ErrorKind kind) {
    for (const KindReport& report : kReports) {
        if (report.kind == kind) {
            return report;
        }
    }
    return kReports.back();
}

} // namespace

std::string message_for(const KvalonError& error) {
    const KindReport& report = report_of(error.kind());
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
