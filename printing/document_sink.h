#pragma once

#include "printing/page_description.h"

#include <string>

namespace kvalon {

// What a document carries besides its pages.
struct DocumentInfo {
    std::string title; // shown by queues and PDF readers ("Kvalon-P REPORT.TXT")
    int copies = 1;
    // The paper the pages were planned on, lying portrait; 0 when not told.
    double paper_width_mm = 0;
    double paper_height_mm = 0;
};

// Where finished pages go: a PDF file, a CUPS queue, a painter. A sink owns the
// document's lifecycle, and with it the promise that nothing is reported as
// printed that was not: finish() returns only when the destination holds the
// whole document, and a document that is abandoned or fails leaves nothing
// behind (no file in place of the target, no job on the queue).
class DocumentSink {
public:
    virtual ~DocumentSink() = default;

    // Starts a document. Throws KvalonError when the destination cannot take one.
    virtual void begin(const DocumentInfo& info) = 0;
    // Adds a page; a streaming sink writes it out at once. Throws KvalonError.
    virtual void add_page(const PageDescription& page) = 0;
    // Completes the document and hands it over. Throws KvalonError when the
    // destination did not take it whole; the document is then dropped.
    virtual void finish() = 0;
    // Drops an unfinished document. Never throws; does nothing when none is open.
    virtual void abandon() noexcept = 0;
    virtual bool is_open() const = 0;
    // After finish(): why the destination could not be seen to print the
    // document handed over (the sentence the user was told), empty when it
    // was, or when the destination does not follow its documents.
    virtual std::string unconfirmed() const { return {}; }
};

} // namespace kvalon
