#pragma once

#include <string>

namespace kvalon {

// Whether a report is read as a LaserJet reads it when the user did not
// say: by its job start, the printer reset ESC E followed by a PCL command,
// or the universal exit of a PJL job (engine/document_kind.h).
bool report_reads_as_pcl(const std::string& path);

} // namespace kvalon
