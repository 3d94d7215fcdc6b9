#pragma once

#include <set>
#include <string>
#include <vector>

namespace kvalon::testing {

// Where the cups-pdf queue of the scheduler scripts/print-server.sh keeps in
// `server_folder` puts its documents: a folder of that scheduler's alone.
std::string cups_pdf_output(const std::string& server_folder);
// The same for the test scheduler scripts/run-tests.sh starts (its queue "PDF").
std::string test_scheduler_pdf_output();

// A TCP port on 127.0.0.1 that nothing listens on at the moment.
int free_port();

// Paths of the entries in `folder`; empty when it cannot be read.
std::set<std::string> files_in(const std::string& folder);

// Whether `folder` or a folder in it holds a regular file (files come and go
// while a program runs: what vanishes while it is looked at is not held).
bool holds_a_file(const std::string& folder);

// Ids ("Queue-7") of the jobs `server` (host:port) lists as completed.
std::vector<std::string> completed_jobs(const std::string& server);

// RFC 1179 "receive a printer job" as an old DOS network stack sends it: the
// queue, then one control file and one raw data file, each followed by a
// zero byte.
std::string lpd_conversation(const std::string& queue, const std::string& user,
                             const std::string& title, const std::string& report);

} // namespace kvalon::testing
