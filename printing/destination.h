#pragma once

#include "engine/document_kind.h"
#include "engine/job_preview.h"
#include "printing/document_sink.h"
#include "printing/page_description.h"

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace kvalon {

struct SurfaceSetup;

// A job on its way to the printer, as one look at it tells.
struct JobProgress {
    enum class State { Waiting, Held, Printing };
    State state = State::Waiting;
    std::string printer_message; // the printer's own words, when it has any
    bool queue_paused = false;   // the queue is stopped: the job waits there
};

// Sees every look at a finished job while it is followed, on the thread that
// finishes it. Returning false ends the following there, silently: the job
// is left to print.
using JobWatch = std::function<bool(const JobProgress&)>;

// What the windows keep of a printer to find it again in the next run: the
// word of its kind ("pdf", "cups") and its own fields.
struct RememberedPrinter {
    std::string kind;
    std::map<std::string, std::string> fields;
    bool operator==(const RememberedPrinter&) const = default;
};

// A destination that writes files rather than printing: the pages printed
// while a preview is open are gathered into one, and the user is asked
// before a file there is replaced.
class FileOutput {
public:
    virtual ~FileOutput() = default;
    // The file it writes.
    virtual const std::string& path() const = 0;
    // A sink writing the documents drawn for this destination into `path`
    // instead (a new name the user chose beside the file).
    virtual std::unique_ptr<DocumentSink> make_file_sink(const std::string& path) const = 0;
};

// Where documents go: a print service's queue, the built-in PDF printer. A
// destination is a value: it says how its pages are drawn, makes the sink
// that takes them, passes on documents that are not text reports, and
// describes itself for the print data and the plan. The program binds one
// (printing/printer_binding.h); how one is chosen is printing/choice/'s.
class Destination {
public:
    virtual ~Destination() = default;

    // How the print data, the plan and the status line name it ("Office",
    // "PDF: /home/ivan/ОТЧЕТ.pdf").
    virtual std::string name() const = 0;
    // The sheet its pages are drawn on, their device pixels, its name and
    // copies. May ask the print service (a queue's own paper). Throws
    // KvalonError(CommandLine) for a paper it was asked for and does not know.
    virtual SurfaceSetup surface_setup() const = 0;
    // A sink for one document of pages drawn for it. `watch`, where given,
    // sees the job while the destination follows it to its end.
    virtual std::unique_ptr<DocumentSink> make_page_sink(const JobWatch& watch = {}) const = 0;
    // Hands the document at `path`, which is not a text report, on as it is,
    // titled `title`, as many times as the destination's copies. Throws
    // KvalonError.
    virtual void pass_document(DocumentKind kind, const std::string& path,
                               const std::string& title) const = 0;
    // Whether the printer there reads documents of `kind` itself, so that
    // pass_document() prints them; a PCL job goes elsewhere through our own
    // rendering. May ask the print service.
    virtual bool reads_document(DocumentKind /*kind*/) const { return true; }
    // What a document with `info` and pages like `sheet` (its size,
    // orientation, resolution and cell area) would be sent with. Never
    // throws: a destination that cannot be asked now shows nothing.
    virtual JobPreview describe_job(const DocumentInfo& /*info*/,
                                    const PageDescription& /*sheet*/) const {
        return {};
    }
    // Set for a destination that writes files; null for a printer, which
    // takes each print action of the windows as a job of its own.
    virtual const FileOutput* file_output() const { return nullptr; }
    virtual int copies() const = 0;
    // What the windows keep to bind it again in the next run.
    virtual RememberedPrinter remembered() const = 0;

    bool is_same_printer(const Destination& other) const {
        return remembered() == other.remembered();
    }
};

} // namespace kvalon
