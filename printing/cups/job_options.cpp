#include "printing/cups/job_options.h"

#include "printing/cups/destination_info.h"

#include <cups/cups.h>

#include <algorithm>
#include <array>
#include <set>
#include <string_view>

namespace kvalon {

namespace {

// Every name under which a job can ask for a paper.
constexpr std::array<std::string_view, 4> kPaperOptions = {"media", "media-col", "PageSize",
                                                           "PageRegion"};
// What the program always decides itself, in the order it is shown.
constexpr std::array<std::string_view, 3> kOwnOptions = {"copies", "collate", "media"};

void set_option(JobOptions& options, const std::string& name, const std::string& value) {
    const auto found = std::find_if(options.begin(), options.end(),
                                    [&](const JobOption& option) { return option.name == name; });
    if (found != options.end()) {
        found->value = value;
    } else {
        options.push_back({name, value});
    }
}

void drop_options(JobOptions& options, auto names) {
    std::erase_if(options, [&](const JobOption& option) {
        return std::find(names.begin(), names.end(), option.name) != names.end();
    });
}

bool is_own(const std::string& name) {
    return std::find(kOwnOptions.begin(), kOwnOptions.end(), name) != kOwnOptions.end();
}

// The names the print service library sends as job settings when it creates
// a job with `options`.
std::set<std::string> sent_as_job_settings(const JobOptions& options) {
    cups_option_t* list = nullptr;
    int count = 0;
    for (const JobOption& option : options) {
        count = cupsAddOption(option.name.c_str(), option.value.c_str(), count, &list);
    }
    ipp_t* request = ippNewRequest(IPP_OP_CREATE_JOB);
    cupsEncodeOptions2(request, count, list, IPP_TAG_JOB);
    std::set<std::string> names;
    for (ipp_attribute_t* attribute = ippFirstAttribute(request); attribute != nullptr;
         attribute = ippNextAttribute(request)) {
        if (ippGetGroupTag(attribute) == IPP_TAG_JOB && ippGetName(attribute) != nullptr) {
            names.insert(ippGetName(attribute));
        }
    }
    ippDelete(request);
    cupsFreeOptions(count, list);
    return names;
}

} // namespace

OwnJobSettings own_settings_for(const DocumentInfo& info) {
    OwnJobSettings own;
    own.copies = info.copies;
    if (info.paper_width_mm > 0 && info.paper_height_mm > 0) {
        own.media = media_name_for(info.paper_width_mm, info.paper_height_mm);
    }
    return own;
}

JobOptions job_options(const DestinationInfo& destination, const JobOptions& client,
                       const OwnJobSettings& own) {
    JobOptions options = destination.options();
    for (const JobOption& option : client) {
        set_option(options, option.name, option.value);
    }
    // The title is the program's own as well; it goes with the job itself.
    drop_options(options, std::array<std::string_view, 1>{"job-name"});
    set_option(options, "copies", std::to_string(own.copies));
    if (own.copies > 1) {
        // Whole reports one after the other, as a DOS user expects; a printer
        // that cannot collate gets the pages again from the print service.
        set_option(options, "collate", "true");
    }
    if (!own.media.empty()) {
        drop_options(options, kPaperOptions);
        set_option(options, "media", own.media);
    }
    return options;
}

JobOptions notable_options(const DestinationInfo& destination, const JobOptions& options) {
    const std::set<std::string> sent = sent_as_job_settings(options);
    JobOptions notable;
    for (const std::string_view name : kOwnOptions) {
        const auto found =
            std::find_if(options.begin(), options.end(),
                         [&](const JobOption& option) { return option.name == name; });
        if (found != options.end() && !(name == "copies" && found->value == "1")) {
            notable.push_back(*found);
        }
    }
    for (const JobOption& option : options) {
        if (!is_own(option.name) && sent.count(option.name) != 0 &&
            !destination.is_default(option)) {
            notable.push_back(option);
        }
    }
    return notable;
}

} // namespace kvalon
