#pragma once

#include <string>
#include <vector>

namespace kvalon {

// One setting a print job is sent with, as the print service names it
// ("sides", "two-sided-long-edge"; "fit-to-page", "true").
struct JobOption {
    std::string name;
    std::string value;
    bool operator==(const JobOption&) const = default;
};

using JobOptions = std::vector<JobOption>;

// The options as a user would type them after `lp -o`, separated by blanks:
// "media=iso_a4_210x297mm sides=two-sided-long-edge".
std::string options_text(const JobOptions& options);

} // namespace kvalon
