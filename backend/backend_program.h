#pragma once

namespace kvalon {

// The print-server backend, as CUPS runs it for each job of a queue whose
// device is kvalon:/DESTINATION: reads the report (a file or standard input),
// plans and prints it as `kvalon-p REPORT` would, with DESTINATION's paper,
// the job's copies and title, and hands the document to DESTINATION on the
// same server. Speaks the backend protocol on standard error (INFO, WARNING,
// ERROR and PAGE lines) and returns the backend exit status CUPS expects.
// Without arguments it names its device for CUPS's printer discovery.
int run_backend(int argc, char** argv);

} // namespace kvalon
