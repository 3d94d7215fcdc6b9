#pragma once

namespace kvalon {

// Reads the next non-empty page of the open source into job().PageText and
// job().PrintText: two empty lines, then up to LinesPerPage source lines, each
// cut to CharsPerLine characters, indented by LeftIndent blanks and ended by
// CR LF. A line holding a form feed ends the page and is dropped. Advances
// PageNumber for a non-empty page; SourceDone tells that the source is at its
// end. In the ESC/P mode the cut counts printed cells, a line keeps its
// characters' attributes written as ESC !, SO and DC4 instead of its own
// sequences, and EscpPageStart holds the attributes the page starts with.
//
// Throws KvalonError(Layout) when LinesPerPage is below 1 (no plan yet).
void read_page();

} // namespace kvalon
