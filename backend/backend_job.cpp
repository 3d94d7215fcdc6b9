#include "backend/backend_job.h"

#include "engine/error.h"
#include "engine/escp/escp_form_length.h"
#include "engine/line_limit.h"
#include "engine/messages.h"
#include "engine/sheet_offset.h"
#include "engine/whole_number.h"
#include "startup/command_line.h"
#include "startup/queue_address.h"

#include <cups/cups.h>

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <regex>
#include <string_view>

namespace kvalon {

namespace {

// The job's options, released on every path.
class ParsedOptions {
public:
    explicit ParsedOptions(const std::string& text)
        : m_count(cupsParseOptions(text.c_str(), 0, &m_options)) {}
    ~ParsedOptions() { cupsFreeOptions(m_count, m_options); }
    ParsedOptions(const ParsedOptions&) = delete;
    ParsedOptions& operator=(const ParsedOptions&) = delete;

    const char* get(const char* name) const { return cupsGetOption(name, m_count, m_options); }
    // The options besides `taken`, by name.
    JobOptions others(std::initializer_list<std::string_view> taken) const {
        JobOptions rest;
        for (int i = 0; i < m_count; ++i) {
            const std::string_view name = m_options[i].name;
            if (std::find(taken.begin(), taken.end(), name) == taken.end()) {
                rest.push_back({m_options[i].name, m_options[i].value});
            }
        }
        return rest;
    }

private:
    cups_option_t* m_options = nullptr;
    int m_count = 0;
};

bool switch_value(const char* name, const std::string& value) {
    if (value.empty() || value == "1" || value == "true" || value == "yes" || value == "on") {
        return true;
    }
    if (value == "0" || value == "false" || value == "no" || value == "off") {
        return false;
    }
    throw KvalonError(ErrorKind::CommandLine, std::string(name) + "=" + value);
}

int copies_of(const std::string& word) {
    const std::optional<int> copies = parse_whole_number(word);
    if (!copies || *copies < 1 || *copies > kMostCopies) {
        throw KvalonError(ErrorKind::CommandLine, word);
    }
    return *copies;
}

// Samba's prefix: "smbprn." and its job number in eight digits.
const std::regex kSambaPrefix("^smbprn[.][0-9]{8} ");
// What Samba calls a file printed over SMB, before the file's name.
const std::string kDownlevelDocument = "Remote Downlevel Document ";

} // namespace

std::string document_name(const std::string& job_title) {
    std::smatch prefix;
    if (!std::regex_search(job_title, prefix, kSambaPrefix)) {
        return job_title;
    }
    std::string name = prefix.suffix().str();
    if (name.starts_with(kDownlevelDocument) && name.size() > kDownlevelDocument.size()) {
        name.erase(0, kDownlevelDocument.size());
    }
    return name.empty() ? job_title : name;
}

BackendJob parse_backend_job(const std::vector<std::string>& words, const std::string& device_uri) {
    BackendJob job;
    job.job_id = words.at(0);
    job.user = words.at(1);
    job.title = words.at(2).empty() ? messages::kTitle : document_name(words.at(2));
    const int copies = copies_of(words.at(3));
    if (words.size() > 5) {
        job.file = words[5];
        job.copies = copies;
    }
    const std::optional<std::string> destination = destination_of(device_uri);
    if (!destination) {
        throw KvalonError(ErrorKind::Printer, device_uri, messages::kNoDestinationInUri);
    }
    job.destination = *destination;
    const ParsedOptions options(words.at(4));
    if (const char* media = options.get("media")) {
        job.media = media;
    } else if (const char* page_size = options.get("PageSize")) {
        job.media = page_size;
    }
    if (const char* escp = options.get("kvalon-escp")) {
        job.language = std::string_view(escp) == "auto"    ? LanguageChoice::Auto
                       : switch_value("kvalon-escp", escp) ? LanguageChoice::Epson
                                                           : LanguageChoice::Text;
    }
    if (const char* page = options.get("kvalon-code-page")) {
        job.code_page = parse_code_page_choice(page, std::string("kvalon-code-page=") + page);
    }
    if (const char* length = options.get("kvalon-form-length")) {
        if (!parse_form_length(length)) {
            throw KvalonError(ErrorKind::CommandLine, std::string("kvalon-form-length=") + length);
        }
        job.form_length = length;
    }
    if (const char* offset = options.get("kvalon-offset")) {
        if (!parse_sheet_offset(offset)) {
            throw KvalonError(ErrorKind::CommandLine, std::string("kvalon-offset=") + offset);
        }
        job.offset = offset;
    }
    if (const char* fit = options.get("kvalon-fit-pages")) {
        job.fit_pages = switch_value("kvalon-fit-pages", fit);
    }
    if (const char* render = options.get("kvalon-render")) {
        job.render = switch_value("kvalon-render", render);
    }
    job.options = options.others({"kvalon-escp", "kvalon-code-page", "kvalon-form-length",
                                  "kvalon-fit-pages", "kvalon-offset", "kvalon-render"});
    return job;
}

} // namespace kvalon
