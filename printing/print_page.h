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

} // namespace kvalon
