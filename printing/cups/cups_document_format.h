#pragma once

#include "engine/document_kind.h"

#include <string>

namespace kvalon {

// The document format a document of `kind` is sent to `queue` with, so that
// the queue prints it as what it is: application/postscript, application/pdf;
// PCL as application/vnd.hp-pcl where the queue lists that format, otherwise
// as application/vnd.cups-raw, the print service's name for data made for
// the printer, which it hands on unfiltered.
std::string document_format_for(const std::string& queue, DocumentKind kind);

// Whether `queue` lists application/vnd.hp-pcl among the formats it takes,
// or is a queue without a driver ("Local Raw Printer"), which has always
// handed a PCL job to its printer as it is; no answer is no.
bool queue_reads_pcl(const std::string& queue);

} // namespace kvalon
