#pragma once

namespace kvalon {

class SourceFile;
struct PrintJob;

// Reads the next non-empty page of the open source into job().PageText and
// job().PrintText: two empty lines, then up to LinesPerPage source lines, each
// cut to CharsPerLine characters, indented by LeftIndent blanks and ended by
// CR LF. A form feed ends the page: the text before it on its line is the
// page's last line, the text after it the next page's first. Advances
// PageNumber for a non-empty page; SourceDone tells that the source is at its
// end. The job's printer language reads its own way (engine/printer_language.h):
// in the ESC/P mode a page is one printer page (engine/escp/escp_page_reader.h).
//
// Throws KvalonError(Layout) when LinesPerPage is below 1 (no plan yet).
void read_page();

// The page reader of plain text, as read_page() describes it.
void read_text_page(PrintJob& j, SourceFile& source);

} // namespace kvalon
