#pragma once

#include "engine/code_page.h"
#include "engine/printer_language.h"
#include "printing/job_option.h"

#include <optional>
#include <string>
#include <vector>

namespace kvalon {

// One job as CUPS hands it to the backend.
struct BackendJob {
    std::string job_id;
    std::string user; // who sent it; the job on the destination is theirs
    // Passed on to the destination: the document's own name ("Kvalon-P" when
    // the job has none), without the prefix Samba puts before it.
    std::string title;
    int copies = 1;
    std::string file;        // the report; empty when it comes on standard input
    std::string destination; // the queue that prints it
    std::string media;       // paper the job asks for, as CUPS names it; empty: the destination's
    // -o kvalon-escp=1 (or 0, auto): the report is read as an ESC/P printer
    // would, as plain text, or as its bytes tell
    LanguageChoice language = LanguageChoice::Auto;
    // -o kvalon-code-page=NAME (or the queue's default): the report's code page
    std::optional<CodePageChoice> code_page;
    std::string form_length; // -o kvalon-form-length=: the printer's form, as --form-length
    bool fit_pages = false;  // -o kvalon-fit-pages=1: each form-feed page on one sheet
    std::string offset;      // -o kvalon-offset=X,Y: the printer's offset, as --offset
    bool render = false;     // -o kvalon-render=1: a PCL job drawn even for a PCL printer
    JobOptions options;      // every other option of the job, as CUPS hands them over
};

// `words` are the arguments after the program name, "job-id user title copies
// options [file]"; `device_uri` is the queue's device address
// ("kvalon:/Office"). Copies count only with a file: on standard input CUPS
// has made them already. Throws KvalonError(CommandLine) for unusable copies
// or options and KvalonError(Printer, device_uri, reason) when the address
// names no destination.
BackendJob parse_backend_job(const std::vector<std::string>& words, const std::string& device_uri);

// The name a document had where it was printed from. Samba sends a Windows
// client's document as "smbprn.00000012 Name", and a file printed over SMB
// without a name of its own as "smbprn.00000012 Remote Downlevel Document
// FILE": what stays is "Name" and "FILE".
std::string document_name(const std::string& job_title);

} // namespace kvalon
