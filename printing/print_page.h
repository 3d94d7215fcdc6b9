#pragma once

#include <string>

namespace kvalon {

// Prints job().PrintText on the printer when job().PageText is not empty, with
// the job's font, size and orientation and bold switched at every marker; then
// starts a new page or, after the source's last page, ends the document. A job
// from the menu window gets its footer line under the text of its last page.
void print_page();

// Ends the document of an interactive job that stopped before the report's
// last page (the preview ran out of pages or was closed): the footer goes under
// the last page printed and the pages go to the printer at once as one
// document. Returns false, touching nothing, when no printed page waits.
bool end_printed_pages();

// The footer line printed after the last page of an interactive job (UTF-8).
std::string footer_line();

// The title of the document of the report at `source_path`, as queues and PDF
// readers show it: the program's name and the report's file name.
std::string document_title(const std::string& source_path);

} // namespace kvalon
