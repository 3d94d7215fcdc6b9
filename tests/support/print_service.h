#pragma once

#include <set>
#include <string>
#include <vector>

namespace kvalon::testing {

// Where cups-pdf puts the documents of a user this machine does not know:
// jobs sent with such a CUPS_USER land here, apart from any real user's files.
std::string anonymous_output_folder();

// A TCP port on 127.0.0.1 that nothing listens on at the moment.
int free_port();

// Paths of the entries in `folder`; empty when it cannot be read.
std::set<std::string> files_in(const std::string& folder);

// Whether `folder` or a folder in it holds a regular file (files come and go
// while a program runs: what vanishes while it is looked at is not held).
bool holds_a_file(const std::string& folder);

// Ids ("Queue-7") of the jobs `server` (host:port) lists as completed.
std::vector<std::string> completed_jobs(const std::string& server);

} // namespace kvalon::testing
