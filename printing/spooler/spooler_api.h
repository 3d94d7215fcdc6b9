#pragma once

#include "printing/spooler/gdi_canvas.h"

#include <memory>
#include <string>
#include <vector>

namespace kvalon {

// Where a printer's context puts its pixels on the sheet (GetDeviceCaps),
// the sheet lying as the job's paper and orientation have it.
struct DeviceArea {
    int dpi_x = 0;    // LOGPIXELSX
    int dpi_y = 0;    // LOGPIXELSY
    int offset_x = 0; // PHYSICALOFFSETX: the first pixel printed, from the sheet's edge
    int offset_y = 0;
    int printable_width = 0; // HORZRES
    int printable_height = 0;
    int sheet_width = 0; // PHYSICALWIDTH
    int sheet_height = 0;
};

// What a printer tells of itself before a job.
struct SpoolerPrinter {
    int paper_code = 0;           // its own paper (the default DEVMODE's dmPaperSize)
    std::vector<int> paper_codes; // the papers it offers (DC_PAPERS)
    DeviceArea area;              // on its own paper, portrait
    // The page languages it reads itself, as our document kinds' titles
    // ("PostScript", "PCL", "PDF"), from its driver.
    std::vector<std::string> languages;
};

// One document being drawn through GDI on a printer: a canvas per page.
class SpoolerDocument {
public:
    virtual ~SpoolerDocument() = default;
    // The area of the job's own paper and orientation.
    virtual const DeviceArea& area() const = 0;
    // Throws KvalonError(Printer) when the page cannot be started.
    virtual GdiCanvas& start_page() = 0;
    virtual void end_page() = 0;
    // Hands the document to the spooler; its job's id. Throws KvalonError(Printer).
    virtual int end_document() = 0;
    // Drops the unfinished document: nothing of it is printed.
    virtual void abort() noexcept = 0;
};

// A job of the spooler as one look at it tells.
struct SpoolerJobLook {
    bool gone = false;     // no longer in the queue: printed, or deleted after it was
    bool failed = false;   // an error status, or deleted before it printed
    bool printing = false; // the printer takes it now
    bool paused = false;   // held, or the printer stopped
    std::string status{};  // the words of the job's and the printer's status, in ours
};

// How a GDI document is asked for.
struct SpoolerDocumentRequest {
    std::string printer;
    std::string title;
    int copies = 1;
    int paper_code = 0; // set in the job's DEVMODE; 0: the printer's own
    bool landscape = false;
};

// The Windows spooler as this program uses it: its printers, GDI documents
// on them, raw documents, and its jobs. An operating system library behind
// a small seam, so that what is drawn and how jobs are followed is tested
// with a fake.
class SpoolerApi {
public:
    virtual ~SpoolerApi() = default;
    virtual std::vector<std::string> printers() const = 0;
    // The user's default printer; empty when there is none.
    virtual std::string default_printer() const = 0;
    // Throws KvalonError(Printer) when the printer cannot be asked.
    virtual SpoolerPrinter printer(const std::string& name) const = 0;
    // Throws KvalonError(Printer) when no document can be started there.
    virtual std::unique_ptr<SpoolerDocument>
    start_document(const SpoolerDocumentRequest& request) const = 0;
    // Sends the file's bytes as they are (the "RAW" data type) as one job of
    // `copies` documents; its job's id. Throws KvalonError.
    virtual int send_raw(const std::string& printer, const std::string& title,
                         const std::string& path, int copies) const = 0;
    virtual SpoolerJobLook look_at_job(const std::string& printer, int job) const = 0;
    // Waits a moment between two looks at a job.
    virtual void pause() const = 0;
};

// The spooler of this system (printing/spooler/win32_spooler_api.cpp).
std::shared_ptr<const SpoolerApi> system_spooler();

} // namespace kvalon
