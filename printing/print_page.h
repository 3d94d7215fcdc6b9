#pragma once

#include <string>

namespace kvalon {

// Prints job().PrintText on the printer when job().PageText is not empty, with
// the job's font, size and orientation and bold switched at every marker; then
// starts a new page or, after the source's last page, ends the document. A job
// from the menu window gets its footer line under the text of its last page.
void print_page();

// The footer line printed after the last page of an interactive job (UTF-8).
std::string footer_line();

// The title of the document of the report at `source_path`, as queues and PDF
// readers show it: the program's name and the report's file name.
std::string document_title(const std::string& source_path);

} // namespace kvalon
