#include "printing/cups/queue_paper.h"

#include "engine/error.h"
#include "printing/cups/cups_connection.h"

#include <cups/cups.h>

namespace kvalon {

namespace {

constexpr double kHundredthsPerMm = 100;

// The size in media-col-default, in hundredths of a millimetre.
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
    return paper_of_size_mm(ippGetInteger(x, 0) / kHundredthsPerMm,
                            ippGetInteger(y, 0) / kHundredthsPerMm);
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

PaperSize paper_of_defaults(http_t* http, cups_dest_t* dest) {
    cups_dinfo_t* info = cupsCopyDestInfo(http, dest);
    if (info == nullptr) {
        return {};
    }
    PaperSize paper;
    if (ipp_attribute_t* media = cupsFindDestDefault(http, dest, info, "media")) {
        if (const char* name = ippGetString(media, 0, nullptr)) {
            paper = paper_for_media(name);
        }
    }
    if (!paper.is_valid()) {
        if (ipp_attribute_t* media_col = cupsFindDestDefault(http, dest, info, "media-col")) {
            paper = paper_of_collection(media_col);
        }
    }
    cupsFreeDestInfo(info);
    return paper;
}

} // namespace

PaperSize queue_default_paper(const std::string& queue) {
    try {
        const CupsConnection connection;
        cups_dest_t* dest = cupsGetNamedDest(connection.get(), queue.c_str(), nullptr);
        if (dest == nullptr) {
            return {};
        }
        PaperSize paper = paper_of_options(*dest);
        if (!paper.is_valid()) {
            paper = paper_of_defaults(connection.get(), dest);
        }
        cupsFreeDests(1, dest);
        return paper;
    } catch (const KvalonError&) {
        return {};
    }
}

} // namespace kvalon
