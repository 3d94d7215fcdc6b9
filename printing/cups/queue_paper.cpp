#include "printing/cups/queue_paper.h"

#include "engine/error.h"
#include "engine/paper_codes.h"
#include "printing/cups/cups_connection.h"
#include "printing/cups/destination_info.h"

#include <cups/cups.h>

#include <cmath>
#include <iterator>
#include <sstream>

namespace kvalon {

namespace {

// The factor sheets have always been converted with.
constexpr double kPointsPerHundredthMm = 2.83464566929 / 100;

int whole_points(int hundredths_mm) {
    return static_cast<int>(hundredths_mm * kPointsPerHundredthMm + 0.5);
}

// The default sheet's size (media-col-default, in hundredths of a millimetre)
// is the printer's own paper size in points, as its PPD gives it: the sheet
// is found by that size, as the queue's paper always was.
PaperSize paper_of_collection(ipp_attribute_t* media_col) {
    ipp_t* collection = ippGetCollection(media_col, 0);
    ipp_attribute_t* size = ippFindAttribute(collection, "media-size", IPP_TAG_BEGIN_COLLECTION);
    if (size == nullptr) {
        return {};
    }
    ipp_t* dimensions = ippGetCollection(size, 0);
    ipp_attribute_t* x = ippFindAttribute(dimensions, "x-dimension", IPP_TAG_INTEGER);
    ipp_attribute_t* y = ippFindAttribute(dimensions, "y-dimension", IPP_TAG_INTEGER);
    if (x == nullptr || y == nullptr) {
        return {};
    }
    return paper_of_points(whole_points(ippGetInteger(x, 0)), whole_points(ippGetInteger(y, 0)));
}

// The queue's PPD file, as the print service hands it out; empty when the
// queue has none.
std::string ppd_of(http_t* http, const std::string& queue) {
    const std::string resource = "/printers/" + queue + ".ppd";
    httpClearFields(http);
    if (httpGet(http, resource.c_str()) != 0) {
        return {};
    }
    http_status_t status = HTTP_STATUS_CONTINUE;
    while (status == HTTP_STATUS_CONTINUE) {
        status = httpUpdate(http);
    }
    if (status != HTTP_STATUS_OK) {
        httpFlush(http);
        return {};
    }
    std::string text;
    char buffer[8192];
    for (ssize_t bytes = httpRead2(http, buffer, sizeof buffer); bytes > 0;
         bytes = httpRead2(http, buffer, sizeof buffer)) {
        text.append(buffer, static_cast<std::size_t>(bytes));
    }
    return text;
}

// *DefaultPageSize: KEY and *PaperDimension KEY/Text: "WIDTH HEIGHT" (points).
PaperSize paper_of_ppd(const std::string& ppd) {
    std::istringstream lines(ppd);
    std::string key;
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("*DefaultPageSize:")) {
            std::istringstream(line.substr(17)) >> key;
        }
    }
    if (key.empty()) {
        return {};
    }
    lines.clear();
    lines.seekg(0);
    const std::string dimension = "*PaperDimension " + key;
    for (std::string line; std::getline(lines, line);) {
        const std::size_t quote = line.find('"');
        if (line.starts_with(dimension) &&
            (line[dimension.size()] == '/' || line[dimension.size()] == ':') &&
            quote != std::string::npos) {
            std::istringstream numbers(line.substr(quote + 1));
            numbers.imbue(std::locale::classic());
            double width = 0;
            double height = 0;
            if (numbers >> width >> height) {
                return paper_of_printer(key, static_cast<int>(std::lround(width)),
                                        static_cast<int>(std::lround(height)));
            }
        }
    }
    return {};
}

PaperSize paper_of_options(const cups_dest_t& dest) {
    for (const char* option : {"media", "PageSize"}) {
        if (const char* value = cupsGetOption(option, dest.num_options, dest.options)) {
            PaperSize paper = paper_for_media(value);
            if (paper.is_valid()) {
                return paper;
            }
        }
    }
    return {};
}

// What the print service says of the queue's default paper: its size, its
// name. A raw queue says nothing at all; a queue with a PPD may name a paper
// it knows no size for ("unknown").
struct DefaultMedia {
    PaperSize paper;
    bool named = false;
    bool takes_a4 = true;
};

// media-supported names every sheet the queue has; without it nothing is
// known against A4.
bool lists_a4(ipp_attribute_t* supported) {
    if (supported == nullptr) {
        return true;
    }
    for (int i = 0; i < ippGetCount(supported); ++i) {
        const char* name = ippGetString(supported, i, nullptr);
        if (name != nullptr && code_for_paper(paper_for_media(name)) == PaperA4) {
            return true;
        }
    }
    return false;
}

// The two attributes alone: the whole description of a queue with a PPD runs
// to tens of kilobytes.
DefaultMedia default_media(http_t* http, const std::string& queue) {
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
                 printer_uri(queue).c_str());
    static const char* const wanted[] = {"media-col-default", "media-default", "media-supported"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  static_cast<int>(std::size(wanted)), nullptr, wanted);
    ipp_t* response = cupsDoRequest(http, request, "/");
    DefaultMedia media;
    if (ipp_attribute_t* media_col =
            ippFindAttribute(response, "media-col-default", IPP_TAG_BEGIN_COLLECTION)) {
        media.paper = paper_of_collection(media_col);
    }
    if (ipp_attribute_t* name = ippFindAttribute(response, "media-default", IPP_TAG_ZERO)) {
        media.named = true;
        const char* text = ippGetString(name, 0, nullptr);
        if (!media.paper.is_valid() && text != nullptr) {
            media.paper = paper_for_media(text);
        }
    }
    media.takes_a4 = lists_a4(ippFindAttribute(response, "media-supported", IPP_TAG_ZERO));
    ippDelete(response);
    return media;
}

} // namespace

PaperSize queue_default_paper(const std::string& destination) {
    return queue_paper(destination).paper;
}

QueuePaper queue_paper(const std::string& destination) {
    const DestinationName name = split_destination(destination);
    try {
        const CupsConnection connection;
        cups_dest_t* dest =
            cupsGetNamedDest(connection.get(), name.queue.c_str(),
                             name.instance.empty() ? nullptr : name.instance.c_str());
        if (dest == nullptr) {
            return {};
        }
        QueuePaper queue;
        queue.paper = paper_of_options(*dest);
        cupsFreeDests(1, dest);
        const DefaultMedia media = default_media(connection.get(), name.queue);
        queue.takes_a4 = media.takes_a4;
        if (!queue.paper.is_valid()) {
            queue.paper = media.paper;
            // A paper the print service names but knows no size for: as the
            // PPD has it.
            if (!queue.paper.is_valid() && media.named) {
                queue.paper = paper_of_ppd(ppd_of(connection.get(), name.queue));
            }
        }
        return queue;
    } catch (const KvalonError&) {
        return {};
    }
}

} // namespace kvalon
