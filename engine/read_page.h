#pragma once

namespace kvalon {

// Reads the next non-empty page of the open source into job().PageText and
// job().PrintText: two empty lines, then up to LinesPerPage source lines, each
// cut to CharsPerLine characters, indented by LeftIndent blanks and ended by
// CR LF. A form feed ends the page: the text before it on its line is the
// page's last line, the text after it the next page's first. Advances
// PageNumber for a non-empty page; SourceDone tells that the source is at its
// end. In the ESC/P mode a page is one printer page (engine/escp_page_reader.h).
//
// Throws KvalonError(Layout) when LinesPerPage is below 1 (no plan yet).
void read_page();

} // namespace kvalon
