#include "startup/queue_setup.h"

#include "engine/error.h"
#include "engine/messages.h"
#include "startup/queue_address.h"

#include <cups/adminutil.h>
#include <cups/cups.h>

#include <cstdlib>

namespace kvalon {

namespace {

constexpr std::size_t kLongestQueueName = 127;

// One IPP message, released on every path.
class IppMessage {
public:
    explicit IppMessage(ipp_t* message) : m_message(message) {}
    ~IppMessage() { ippDelete(m_message); }
    IppMessage(const IppMessage&) = delete;
    IppMessage& operator=(const IppMessage&) = delete;

    ipp_t* get() const { return m_message; }

private:
    ipp_t* m_message;
};

// Without the right to manage printers the request fails and says so; a
// prompt on the terminal would hang a set-up script.
const char* no_password(const char*, http_t*, const char*, const char*, void*) {
    return nullptr;
}

// The names the scheduler itself accepts for a queue.
bool is_usable_name(const std::string& name) {
    if (name.empty() || name.size() > kLongestQueueName) {
        return false;
    }
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= ' ' || byte == 127 || c == '/' || c == '\\' || c == '?' || c == '\'' ||
            c == '"' || c == '#') {
            return false;
        }
    }
    return true;
}

std::string printer_uri(const std::string& name) {
    char uri[HTTP_MAX_URI];
    const std::string resource = "/printers/" + name;
    httpAssembleURI(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                    resource.c_str());
    return uri;
}

bool service_failed() {
    return cupsLastError() > IPP_STATUS_OK_CONFLICTING;
}

std::string failure_reason() {
    switch (cupsLastError()) {
    case IPP_STATUS_ERROR_FORBIDDEN:
    case IPP_STATUS_ERROR_NOT_AUTHORIZED:
    case IPP_STATUS_ERROR_NOT_AUTHENTICATED:
        return messages::kNoAdminRights;
    case IPP_STATUS_ERROR_SERVICE_UNAVAILABLE:
        return messages::kServiceSilent;
    default: {
        const char* text = cupsLastErrorString();
        return text != nullptr && *text != '\0' ? text : messages::kServiceSilent;
    }
    }
}

struct QueueFacts {
    bool exists = false;
    std::string device_uri; // empty for a class
};

QueueFacts queue_facts(const std::string& name, ErrorKind failure) {
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
                 printer_uri(name).c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                 "device-uri");
    const IppMessage response(cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/"));
    if (cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND) {
        return {};
    }
    if (response.get() == nullptr || service_failed()) {
        throw KvalonError(failure, name, failure_reason());
    }
    QueueFacts facts;
    facts.exists = true;
    if (ipp_attribute_t* uri = ippFindAttribute(response.get(), "device-uri", IPP_TAG_URI)) {
        facts.device_uri = ippGetString(uri, 0, nullptr);
    }
    return facts;
}

void check_destination(const std::string& name, const std::string& destination) {
    if (destination == name) {
        throw KvalonError(ErrorKind::QueueSetup, name, messages::kQueueIsOwnDestination);
    }
    const QueueFacts facts = queue_facts(destination, ErrorKind::QueueSetup);
    if (!facts.exists) {
        throw KvalonError(ErrorKind::QueueSetup, name, messages::kNoDestinationQueue + destination);
    }
    // A chain of our queues could end in a loop that prints forever.
    if (destination_of(facts.device_uri)) {
        throw KvalonError(ErrorKind::QueueSetup, name, messages::kDestinationIsOurs);
    }
}

std::string setup_failure_reason() {
    // The scheduler refuses a device whose backend program it cannot find.
    const char* text = cupsLastErrorString();
    if (cupsLastError() == IPP_STATUS_ERROR_NOT_POSSIBLE && text != nullptr &&
        std::string(text).find("scheme") != std::string::npos) {
        return messages::kBackendNotInstalled;
    }
    return failure_reason();
}

// The queue's default for an option a job may give itself; a queue set up
// again without one forgets the one it had.
void add_default(ipp_t* request, const char* name, const std::optional<std::string>& value) {
    if (value) {
        ippAddString(request, IPP_TAG_PRINTER, IPP_TAG_NAME, name, nullptr, value->c_str());
    } else {
        ippAddInteger(request, IPP_TAG_PRINTER, IPP_TAG_DELETEATTR, name, 0);
    }
}

std::optional<std::string> language_value(LanguageChoice language) {
    switch (language) {
    case LanguageChoice::Epson:
        return "1";
    case LanguageChoice::Text:
        return "0";
    // The queue tells a PCL job by its start, as auto does.
    case LanguageChoice::Pcl:
    case LanguageChoice::Auto:
        break;
    }
    return std::nullopt;
}

void add_defaults(ipp_t* request, const QueueDefaults& defaults) {
    const std::optional<CodePageChoice>& code_page = defaults.code_page;
    add_default(request, "kvalon-code-page-default",
                code_page ? std::optional<std::string>(code_page_choice_name(*code_page))
                          : std::nullopt);
    add_default(request, "kvalon-escp-default", language_value(defaults.language));
    add_default(request, "kvalon-form-length-default",
                defaults.form_length.empty() ? std::nullopt
                                             : std::optional<std::string>(defaults.form_length));
    const bool offset = defaults.offset && !defaults.offset->is_zero();
    add_default(request, "kvalon-offset-default",
                offset ? std::optional<std::string>(sheet_offset_text(*defaults.offset))
                       : std::nullopt);
}

void write_queue(const std::string& name, const std::string& destination,
                 const QueueDefaults& defaults) {
    ipp_t* request = ippNewRequest(IPP_OP_CUPS_ADD_MODIFY_PRINTER);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
                 printer_uri(name).c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    ippAddString(request, IPP_TAG_PRINTER, IPP_TAG_URI, "device-uri", nullptr,
                 queue_device_uri(destination).c_str());
    // Raw: a report that begins with ESC must not be taken for printer data,
    // nor one without it for text that CUPS would typeset itself.
    ippAddString(request, IPP_TAG_PRINTER, IPP_TAG_NAME, "ppd-name", nullptr, "raw");
    const std::string info = messages::kTitle + " → " + destination;
    ippAddString(request, IPP_TAG_PRINTER, IPP_TAG_TEXT, "printer-info", nullptr, info.c_str());
    ippAddBoolean(request, IPP_TAG_PRINTER, "printer-is-shared", 1);
    ippAddBoolean(request, IPP_TAG_PRINTER, "printer-is-accepting-jobs", 1);
    ippAddInteger(request, IPP_TAG_PRINTER, IPP_TAG_ENUM, "printer-state", IPP_PSTATE_IDLE);
    // One report that cannot be printed must not stop the office's queue.
    ippAddString(request, IPP_TAG_PRINTER, IPP_TAG_NAME, "printer-error-policy", nullptr,
                 "abort-job");
    add_defaults(request, defaults);
    ippDelete(cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/admin/"));
    if (service_failed()) {
        throw KvalonError(ErrorKind::QueueSetup, name, setup_failure_reason());
    }
}

// The name other machines know this server by.
std::string server_host() {
    const std::string server = cupsServer();
    if (!server.empty() && server[0] != '/' && server != "localhost" && server != "127.0.0.1" &&
        server != "::1") {
        return server;
    }
    char name[256];
    return httpGetHostname(nullptr, name, sizeof name) != nullptr ? name : "localhost";
}

// Whether the scheduler lets other machines in; assumed when it will not say.
bool server_shares_queues() {
    int count = 0;
    cups_option_t* settings = nullptr;
    if (!cupsAdminGetServerSettings(CUPS_HTTP_DEFAULT, &count, &settings)) {
        return true;
    }
    const char* sharing = cupsGetOption(CUPS_SERVER_SHARE_PRINTERS, count, settings);
    const bool shares = sharing == nullptr || std::atoi(sharing) != 0;
    cupsFreeOptions(count, settings);
    return shares;
}

// The defaults besides the code page, told only when given.
std::string defaults_text(const QueueDefaults& defaults) {
    std::string text;
    if (language_value(defaults.language)) {
        text += messages::kQueueReadsLanguage +
                (defaults.language == LanguageChoice::Epson ? messages::kQueueLanguageEpson
                                                            : messages::kQueueLanguageText) +
                ".\n";
    }
    if (!defaults.form_length.empty()) {
        text += messages::kQueueFormLength + defaults.form_length + ".\n";
    }
    if (defaults.offset && !defaults.offset->is_zero()) {
        text += messages::kQueueOffset + sheet_offset_text(*defaults.offset) + " мм.\n";
    }
    return text;
}

std::string how_clients_reach(const std::string& name, const std::string& destination,
                              const QueueDefaults& defaults) {
    const std::optional<CodePageChoice>& code_page = defaults.code_page;
    const std::string host = server_host();
    const std::string address = host + ":" + std::to_string(ippPort());
    std::string text = messages::kTheQueue + name + messages::kQueueReadyPrintsOn + destination +
                       ".\n" + messages::kQueueReadsCodePage +
                       std::string(code_page_choice_name(code_page.value_or(CodePageChoice{}))) +
                       ".\n" + defaults_text(defaults) + messages::kClientsReachIt;
    text += messages::kClientCups + "lp -h " + address + " -d " + name + " -o raw " +
            messages::kReportWord + "\n";
    text += messages::kClientIpp + "ipp://" + address + "/printers/" + name + "\n";
    text += messages::kClientLpd + host + messages::kClientLpdQueue + name + "\n";
    text += messages::kClientWindows + "\\\\" + host + "\\" + name + "\n";
    if (!server_shares_queues()) {
        text += messages::kServerNotSharing;
    }
    return text;
}

} // namespace

std::string set_up_queue(const std::string& name, const std::string& destination,
                         const QueueDefaults& defaults) {
    cupsSetPasswordCB2(no_password, nullptr);
    if (!is_usable_name(name)) {
        throw KvalonError(ErrorKind::QueueSetup, name, messages::kBadQueueName);
    }
    check_destination(name, destination);
    const QueueFacts existing = queue_facts(name, ErrorKind::QueueSetup);
    if (existing.exists && !destination_of(existing.device_uri)) {
        throw KvalonError(ErrorKind::QueueSetup, name, messages::kQueueNameTaken);
    }
    write_queue(name, destination, defaults);
    return how_clients_reach(name, destination, defaults);
}

std::string remove_queue(const std::string& name) {
    cupsSetPasswordCB2(no_password, nullptr);
    if (!is_usable_name(name)) {
        throw KvalonError(ErrorKind::QueueRemoval, name, messages::kBadQueueName);
    }
    const QueueFacts existing = queue_facts(name, ErrorKind::QueueRemoval);
    if (!existing.exists) {
        return messages::kQueueWasAbsent + name + "\n";
    }
    if (!destination_of(existing.device_uri)) {
        throw KvalonError(ErrorKind::QueueRemoval, name, messages::kNotOurQueue);
    }
    ipp_t* request = ippNewRequest(IPP_OP_CUPS_DELETE_PRINTER);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
                 printer_uri(name).c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    ippDelete(cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/admin/"));
    if (service_failed()) {
        throw KvalonError(ErrorKind::QueueRemoval, name, failure_reason());
    }
    return messages::kTheQueue + name + messages::kQueueRemoved;
}

} // namespace kvalon
