#include "backend/client_options.h"

#include "printing/cups/destination_info.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace kvalon {

namespace {

// What the program decides: it plans the report on the paper asked for,
// makes the copies collated and sends its own PDF under its own title.
constexpr std::array<std::string_view, 8> kDecidedHere = {
    "media",           "media-col", "PageSize", "PageRegion",
    "document-format", "copies",    "collate",  "job-name"};

// What the print server adds to every job it keeps: no setting of the client.
constexpr std::array<std::string_view, 9> kDescribesJob = {"job-uuid",
                                                           "job-originating-host-name",
                                                           "job-authorization-uri",
                                                           "date-time-at-creation",
                                                           "date-time-at-processing",
                                                           "time-at-creation",
                                                           "time-at-processing",
                                                           "document-name-supplied",
                                                           "job-impressions"};

// Settings CUPS's filters carry out on every queue without the printer
// listing them (pdftopdf for the PDF the destination gets).
constexpr std::array<std::string_view, 10> kCupsFilterOptions = {
    "fit-to-page", "landscape",   "mirror",   "natural-scaling", "number-up-layout",
    "outputorder", "page-border", "page-set", "position",        "scaling"};

template <std::size_t N>
bool among(const std::array<std::string_view, N>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

} // namespace

ClientOptions sort_client_options(const DestinationInfo& destination, const JobOptions& options) {
    ClientOptions sorted;
    for (const JobOption& option : options) {
        using Reason = LeftOutOption::Reason;
        if (among(kDecidedHere, option.name)) {
            sorted.left_out.push_back({option, Reason::DecidedHere, {}});
        } else if (among(kDescribesJob, option.name)) {
            sorted.left_out.push_back({option, Reason::DescribesJob, {}});
        } else if (destination.lists(option.name)) {
            if (destination.supports(option)) {
                sorted.passed.push_back(option);
            } else {
                sorted.left_out.push_back(
                    {option, Reason::UnsupportedValue, destination.supported_values(option.name)});
            }
        } else if (among(kCupsFilterOptions, option.name)) {
            sorted.passed.push_back(option);
        } else {
            sorted.left_out.push_back({option, Reason::UnknownThere, {}});
        }
    }
    return sorted;
}

} // namespace kvalon
