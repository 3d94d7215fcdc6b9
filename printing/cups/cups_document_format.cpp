#include "printing/cups/cups_document_format.h"

#include "engine/error.h"
#include "printing/cups/cups_connection.h"

#include <cups/cups.h>

#include <cstring>

namespace kvalon {

namespace {

constexpr const char* kPcl = "application/vnd.hp-pcl";
constexpr const char* kPrinterData = "application/vnd.cups-raw";
// What the print service calls a queue without a driver, whose printer gets
// every document as it is.
constexpr const char* kRawQueueModel = "Local Raw Printer";

// Whether the queue lists `format` among the formats it takes, or, with
// `raw_too`, is a queue without a driver; no answer is no.
bool queue_takes(const std::string& queue, const char* format, bool raw_too = false) {
    try {
        const CupsConnection connection;
        char uri[1024];
        const std::string resource = "/printers/" + queue;
        httpAssembleURI(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 0,
                        resource.c_str());
        ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
        const char* const wanted[] = {"document-format-supported", "printer-make-and-model"};
        ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 2,
                      nullptr, wanted);
        ipp_t* response = cupsDoRequest(connection.get(), request, "/");
        ipp_attribute_t* model = ippFindAttribute(response, "printer-make-and-model", IPP_TAG_TEXT);
        const char* model_name = model != nullptr ? ippGetString(model, 0, nullptr) : nullptr;
        bool takes =
            raw_too && model_name != nullptr && std::strcmp(model_name, kRawQueueModel) == 0;
        ipp_attribute_t* formats =
            ippFindAttribute(response, "document-format-supported", IPP_TAG_MIMETYPE);
        for (int i = 0; formats != nullptr && i < ippGetCount(formats) && !takes; ++i) {
            const char* value = ippGetString(formats, i, nullptr);
            takes = value != nullptr && std::strcmp(value, format) == 0;
        }
        ippDelete(response);
        return takes;
    } catch (const KvalonError&) {
        return false;
    }
}

} // namespace

bool queue_reads_pcl(const std::string& queue) {
    return queue_takes(queue, kPcl, true);
}

std::string document_format_for(const std::string& queue, DocumentKind kind) {
    switch (kind) {
    case DocumentKind::PostScript:
        return "application/postscript";
    case DocumentKind::Pdf:
        return "application/pdf";
    case DocumentKind::Pcl:
        return queue_takes(queue, kPcl) ? kPcl : kPrinterData;
    case DocumentKind::Text:
        break;
    }
    return "text/plain";
}

} // namespace kvalon
