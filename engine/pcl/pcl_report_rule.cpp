#include "engine/pcl/pcl_report_rule.h"

#include "engine/document_kind.h"

namespace kvalon {

bool report_reads_as_pcl(const std::string& path) {
    return document_kind(path) == DocumentKind::Pcl;
}

} // namespace kvalon
