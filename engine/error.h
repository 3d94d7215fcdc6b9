#pragma once

#include <stdexcept>
#include <string>

namespace kvalon {

// What went wrong, as far as the user's next step is concerned. Each kind has
// one sentence and one exit status (engine/error_report.h).
enum class ErrorKind {
    NoPrinter,          // no printer is installed
    MissingFile,        // the named report does not exist
    NotRegularFile,     // the named report is a pipe, a device or a socket
    FileVanished,       // the report chosen in the windows is gone
    CommandLine,        // an option or an environment setting cannot be used
    BadActionWord,      // the action word is not a number
    File,               // the report cannot be opened or read, or changed under the job
    InputTooLarge,      // the report passes the size limit
    EmptyReport,        // the report has nothing to print
    NotTextReport,      // the file is a document (PostScript, PDF, PCL) that cannot go there
    BlankPages,         // the pages came out blank although the report holds print
    LineTooLong,        // a line is longer than 32,765 characters
    TooManyPages,       // the report needs more than 32,767 pages
    PageTooFull,        // one printer page holds more than a page can (ESC/P mode)
    Layout,             // the paper is too small for one line or one character
    PaperTooLarge,      // the paper is larger than a PDF page may be
    FileWrite,          // an output file cannot be written
    Printer,            // the printer or the print service did not take the document
    JobCancelled,       // the job was cancelled where it was sent: the printer there cannot
                        // print it with its settings (a paper), or someone cancelled it
    PrintServiceSilent, // the print service does not answer in time
    PrintServiceAbsent, // the print service's client library cannot be loaded
    QueueSetup,         // a print-server queue cannot be set up
    QueueRemoval,       // a print-server queue cannot be removed
};

// The one error type of the program for failures the user can act on.
// `path` names the file, queue or word concerned (may be empty); `detail` is
// the reason, shown in brackets after the sentence. Faults of the program
// itself are std::logic_error, never a KvalonError.
class KvalonError : public std::runtime_error {
public:
    KvalonError(ErrorKind kind, std::string path, std::string detail = {});

    ErrorKind kind() const { return m_kind; }
    const std::string& path() const { return m_path; }
    const std::string& detail() const { return m_detail; }

private:
    ErrorKind m_kind;
    std::string m_path;
    std::string m_detail;
};

// The system's reason for a failed file operation, in the user's language;
// a reason without words of ours still reads in it, with the system's number.
std::string system_reason(int error_number);

} // namespace kvalon
