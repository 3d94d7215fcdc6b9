#pragma once

#include <stdexcept>
#include <string>

namespace kvalon {

// What went wrong, as far as the user's next step is concerned.
enum class ErrorKind {
    File,         // the source could not be opened or read
    FileWrite,    // an output file could not be written
    Printer,      // the printer or the PDF file refused the document
    Overflow,     // a count left its 16-bit range (a line longer than 32,765 characters)
    Layout,       // the paper is too small for one line or one character
    CommandLine,  // the command line cannot be used
    TooManyPages, // the page number or the line count left its range
};

// The one error type of the program. `path` names the file concerned (may be
// empty); `detail` is the system's own reason, for the message's tail.
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

// The system's reason for a failed file operation, in the user's language.
std::string system_reason(int error_number);

} // namespace kvalon
