#include "printing/cups/printer_trouble.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace kvalon {

namespace {

// Job reasons of a job on its ordinary way, or held or stopped as its state
// already says.
constexpr std::array<std::string_view, 18> kJobAtWork = {
    "none",
    "job-incoming",
    "job-data-insufficient",
    "job-queued",
    "job-queued-for-marker",
    "job-printing",
    "job-spooling",
    "job-transforming",
    "job-interpreting",
    "job-outgoing",
    "job-fetchable",
    "job-resuming",
    "job-completed-successfully",
    "job-hold-until-specified",
    "processing-to-stop-point",
    "queued-in-device",
    "printer-stopped",
    "printer-stopped-partly",
};

// Printer reasons of a printer at work or paused, as the state says.
constexpr std::array<std::string_view, 6> kPrinterAtWork = {
    "none",
    "paused",
    "moving-to-paused",
    "connecting-to-device",
    "cups-waiting-for-job-completed",
    "hold-new-jobs",
};

bool ends_with(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

template <std::size_t N>
bool listed(const std::array<std::string_view, N>& list, std::string_view reason) {
    return std::find(list.begin(), list.end(), reason) != list.end();
}

void add_troubles(std::vector<std::string>& troubles, const std::vector<std::string>& reasons,
                  bool printer) {
    for (const std::string& reason : reasons) {
        const bool at_work = printer
                                 ? listed(kPrinterAtWork, reason) || ends_with(reason, "-report")
                                 : listed(kJobAtWork, reason);
        if (!at_work && !reason.empty() &&
            std::find(troubles.begin(), troubles.end(), reason) == troubles.end()) {
            troubles.push_back(reason);
        }
    }
}

} // namespace

std::string printer_trouble(const std::string& message, const std::vector<std::string>& job_reasons,
                            const std::vector<std::string>& printer_reasons, bool ended) {
    std::vector<std::string> troubles;
    // The printer's first: a jam is the cause of the job cancelled at the device.
    add_troubles(troubles, printer_reasons, true);
    add_troubles(troubles, job_reasons, false);
    if (troubles.empty()) {
        return ended ? message : std::string();
    }
    std::string reasons;
    for (const std::string& trouble : troubles) {
        reasons += (reasons.empty() ? "" : ", ") + trouble;
    }
    return message.empty() ? reasons : message + " [" + reasons + "]";
}

} // namespace kvalon
