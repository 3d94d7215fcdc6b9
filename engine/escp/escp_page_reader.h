#pragma once

#include "engine/print_job.h"

namespace kvalon {

class SourceFile;

// The page reader of the ESC/P mode: takes the report's next page that has
// anything printed on it, as the printer ends its pages (form feed, the
// form's length, a new top of form), and puts its bytes into j.PageText and
// j.PrintText with the printer's state where it begins in j.Escp->PageStart.
// Pages with nothing printed are passed over. The bytes read past the page
// to learn whether another printed page follows wait in j.Escp->Pending, from
// the state j.Escp->Carried. Sets SourceDone on the call that takes the last
// printed page; updates PageNumber as read_page() does.
//
// Throws KvalonError(File) when the source cannot be read and
// KvalonError(TooManyPages) past page 32,767.
void read_escp_page(PrintJob& j, SourceFile& source);

} // namespace kvalon
