#include "printing/cups/destination_info.h"

#include "engine/error.h"
#include "engine/messages.h"
#include "printing/cups/cups_connection.h"

#include <cups/pwg.h>

#include <cmath>

namespace kvalon {

namespace {

constexpr double kHundredthsPerMm = 100;
// Sizes the print service gives in hundredths of a millimetre match within
// this much (a paper named in inches is not a whole number of them).
constexpr int kSizeTolerance = 2;

int hundredths(double mm) {
    return static_cast<int>(std::lround(mm * kHundredthsPerMm));
}

double millimetres(int hundredths) {
    return hundredths / kHundredthsPerMm;
}

DestinationMedia media_of(const cups_size_t& size) {
    DestinationMedia media;
    media.name = size.media;
    media.width_mm = millimetres(size.width);
    media.height_mm = millimetres(size.length);
    media.margins.top = millimetres(size.top);
    media.margins.bottom = millimetres(size.bottom);
    media.margins.left = millimetres(size.left);
    media.margins.right = millimetres(size.right);
    return media;
}

std::string attribute_text(ipp_attribute_t* attribute) {
    if (attribute == nullptr) {
        return {};
    }
    const std::size_t length = ippAttributeString(attribute, nullptr, 0);
    std::string text(length + 1, '\0');
    ippAttributeString(attribute, text.data(), text.size());
    text.resize(length);
    return text;
}

// Whether the instance is one the user or the system defined: the print
// service library hands out any instance name, defined or not, and a
// mistyped one would print without the options it was meant to bring.
bool instance_exists(const CupsConnection& connection, const DestinationName& name) {
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(connection.get(), &dests);
    const bool exists =
        cupsGetDest(name.queue.c_str(), name.instance.c_str(), count, dests) != nullptr;
    cupsFreeDests(count, dests);
    return exists;
}

// The queue's defaults, all of them: the destination information the print
// service library keeps holds only some (not job-cancel-after-default, for
// one), while every one of them comes with the destination's options.
ipp_t* queue_defaults(const CupsConnection& connection, const std::string& queue) {
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
                 printer_uri(queue).c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                 "printer-defaults");
    return cupsDoRequest(connection.get(), request, "/");
}

} // namespace

DestinationName split_destination(const std::string& name) {
    const std::size_t slash = name.find('/');
    if (slash == std::string::npos) {
        return DestinationName{name, {}};
    }
    return DestinationName{name.substr(0, slash), name.substr(slash + 1)};
}

std::string media_name_for(double width_mm, double height_mm) {
    const pwg_media_t* media = pwgMediaForSize(hundredths(width_mm), hundredths(height_mm));
    return media != nullptr && media->pwg != nullptr ? media->pwg : std::string();
}

DestinationInfo::DestinationInfo(const std::string& name)
    : m_connection(std::make_unique<CupsConnection>()), m_name(split_destination(name)) {
    http_t* http = m_connection->get();
    const char* instance = m_name.instance.empty() ? nullptr : m_name.instance.c_str();
    m_dest = cupsGetNamedDest(http, m_name.queue.c_str(), instance);
    const bool found =
        m_dest != nullptr && (instance == nullptr || instance_exists(*m_connection, m_name));
    if (!m_connection->answered()) {
        cupsFreeDests(1, m_dest);
        throw KvalonError(ErrorKind::PrintServiceSilent, print_service_name());
    }
    if (!found) {
        cupsFreeDests(1, m_dest);
        throw KvalonError(ErrorKind::Printer, name, messages::kNoSuchQueue);
    }
    m_info = cupsCopyDestInfo(http, m_dest);
    if (m_info == nullptr) {
        const bool answered = m_connection->answered();
        cupsFreeDests(1, m_dest);
        if (!answered) {
            throw KvalonError(ErrorKind::PrintServiceSilent, print_service_name());
        }
        throw KvalonError(ErrorKind::Printer, name, service_reason(cupsLastError()));
    }
    m_defaults = queue_defaults(*m_connection, m_name.queue);
    for (int i = 0; i < m_dest->num_options; ++i) {
        m_options.push_back({m_dest->options[i].name, m_dest->options[i].value});
    }
}

DestinationInfo::~DestinationInfo() {
    ippDelete(m_defaults);
    cupsFreeDestInfo(m_info);
    cupsFreeDests(1, m_dest);
}

// The print service library's own default looks only at lpoptions and
// otherwise says Letter; the queue's media-default is what a job without
// lpoptions gets.
std::optional<DestinationMedia> DestinationInfo::default_media() const {
    std::string name;
    if (const char* chosen = cupsGetOption("media", m_dest->num_options, m_dest->options)) {
        name = chosen;
        name = name.substr(0, name.find(','));
    } else if (ipp_attribute_t* queue_default =
                   cupsFindDestDefault(m_connection->get(), m_dest, m_info, "media")) {
        const char* text = ippGetString(queue_default, 0, nullptr);
        name = text != nullptr ? text : "";
    }
    if (!name.empty()) {
        if (std::optional<DestinationMedia> listed = media(name)) {
            return listed;
        }
    }
    cups_size_t size{};
    if (!cupsGetDestMediaDefault(m_connection->get(), m_dest, m_info, CUPS_MEDIA_FLAGS_DEFAULT,
                                 &size)) {
        return std::nullopt;
    }
    return media_of(size);
}

// The print service answers with the nearest paper it has; only the paper
// itself counts.
std::optional<DestinationMedia> DestinationInfo::media(const std::string& media_name) const {
    const pwg_media_t* wanted = pwgMediaForPWG(media_name.c_str());
    if (wanted == nullptr) {
        wanted = pwgMediaForLegacy(media_name.c_str());
    }
    if (wanted == nullptr) {
        wanted = pwgMediaForPPD(media_name.c_str());
    }
    cups_size_t size{};
    if (wanted == nullptr ||
        !cupsGetDestMediaByName(m_connection->get(), m_dest, m_info, media_name.c_str(),
                                CUPS_MEDIA_FLAGS_DEFAULT, &size) ||
        std::abs(size.width - wanted->width) > kSizeTolerance ||
        std::abs(size.length - wanted->length) > kSizeTolerance) {
        return std::nullopt;
    }
    return media_of(size);
}

bool DestinationInfo::lists(const std::string& option) const {
    return cupsFindDestSupported(m_connection->get(), m_dest, m_info, option.c_str()) != nullptr;
}

bool DestinationInfo::supports(const JobOption& option) const {
    return cupsCheckDestSupported(m_connection->get(), m_dest, m_info, option.name.c_str(),
                                  option.value.c_str()) != 0;
}

// Both sides are put into the form the printer would get, so that "3" and
// "none" for finishings, or "1" and "1" for number-up, compare as one.
bool DestinationInfo::is_default(const JobOption& option) const {
    const std::string name = option.name + "-default";
    ipp_attribute_t* default_value =
        m_defaults != nullptr ? ippFindAttribute(m_defaults, name.c_str(), IPP_TAG_ZERO) : nullptr;
    if (default_value == nullptr) {
        return false;
    }
    ipp_t* scratch = ippNew();
    ipp_attribute_t* asked =
        cupsEncodeOption(scratch, IPP_TAG_JOB, option.name.c_str(), option.value.c_str());
    const bool same = asked != nullptr && attribute_text(asked) == attribute_text(default_value);
    ippDelete(scratch);
    return same;
}

std::string DestinationInfo::supported_values(const std::string& option) const {
    return attribute_text(
        cupsFindDestSupported(m_connection->get(), m_dest, m_info, option.c_str()));
}

} // namespace kvalon
