#pragma once

#include <string>
#include <vector>

namespace kvalon {

// What the printer says about a job's trouble: its own words (`message`,
// the job's printer-state message, else the printer's) followed by the IPP
// state reasons of the job and of the printer that tell of trouble, in
// brackets ("Print job canceled at printer. [media-jam-error]"). Reasons of
// a printer at work or at rest ("none", "paused", "...-report") are no
// trouble; without one, the words of a job still on its way only restate
// its state ("Idle.", "Paused") and nothing is said. Of a job that `ended`
// without printing, the words are said whatever the reasons.
std::string printer_trouble(const std::string& message, const std::vector<std::string>& job_reasons,
                            const std::vector<std::string>& printer_reasons, bool ended);

} // namespace kvalon
