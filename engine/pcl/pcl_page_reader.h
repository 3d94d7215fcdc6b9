#pragma once

#include "engine/print_job.h"

namespace kvalon {

class SourceFile;

// The page reader of PCL jobs: takes the job's next page that has anything
// printed on it, as the printer ejects its pages (form feed, the text length
// or the page passed, reset, a new size, orientation or paper source), and
// puts its bytes into j.PageText and j.PrintText with the printer's state
// where it begins in j.Pcl->PageStart, and the page's orientation into
// j.Orientation. Pages with nothing printed are passed over. The bytes read
// past the page to learn whether another printed page follows wait in
// j.Pcl->Pending, from the state j.Pcl->Carried. Sets SourceDone on the call
// that takes the last printed page; updates PageNumber as read_page() does.
//
// Throws KvalonError(File) when the source cannot be read and
// KvalonError(TooManyPages) past page 32,767.
void read_pcl_page(PrintJob& j, SourceFile& source);

} // namespace kvalon
