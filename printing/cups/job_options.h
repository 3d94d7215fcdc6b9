#pragma once

#include "printing/document_sink.h"
#include "printing/job_option.h"

#include <string>

namespace kvalon {

class DestinationInfo;

// What the program decides of every job itself.
struct OwnJobSettings {
    int copies = 1;
    std::string media; // self-describing name of the planned paper; empty: none asked
};

// What the program decides itself of a document with `info`: its copies, and
// the paper it was planned on by its self-describing name.
OwnJobSettings own_settings_for(const DocumentInfo& info);

// The options of a job on `destination`: what `lp` would send there (its
// defaults and lpoptions), `client` on top, and the program's own on top of
// all: the copies (collated when more than one) and the paper. Other ways of
// naming a paper are dropped, so that the printer is not told two.
JobOptions job_options(const DestinationInfo& destination, const JobOptions& client,
                       const OwnJobSettings& own);

// Of the options of a job (as job_options gives them), those a person wants
// to see: the program's own, then every job setting that asks the destination
// for something other than what it does anyway. Descriptions of the printer
// and settings the print service does not send with a job are left out.
JobOptions notable_options(const DestinationInfo& destination, const JobOptions& options);

} // namespace kvalon
