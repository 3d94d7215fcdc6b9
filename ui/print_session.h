#pragma once

#include "printing/page_description.h"
#include "ui/listeners.h"
#include "ui/page_range.h"
#include "ui/window_job_keeping.h"

#include <functional>
#include <list>
#include <memory>
#include <optional>
#include <string>

namespace kvalon {

class FileOutput;
class PrinterBinding;
class PreviewDocument;
class QueueJob;
class WindowServices;

// The interactive job under the windows, from the choice of a report until
// another is chosen or the job is dropped. The page position lives in the job
// record and the open source as everywhere; the session keeps what the
// windows need besides: how many pages the report prints, whether its file is
// still the one planned, and where printed pages go.
//
// Where printed pages go depends on the printer bound: on a printer every
// print action is a job of its own, sent at once and followed in the
// background (ui/queue_job.h); on a destination that writes files (the PDF
// printer) the pages printed while the preview is open form one document, in
// print order, written when the preview closes, the job ends or the printer
// changes. Either way the footer stands
// under the report's last page whenever that page is printed.
//
// Failures are told to the user here (through the window services); the
// calls then return false and leave the session in a state the windows can
// show. No toolkit: the windows of any toolkit are views over it.
class PrintSession {
public:
    PrintSession(PrinterBinding& binding, WindowServices& services);
    // The PDF printer's open document is written, not dropped; jobs on their
    // way to a printer are sent whole and no longer followed.
    ~PrintSession();
    PrintSession(const PrintSession&) = delete;
    PrintSession& operator=(const PrintSession&) = delete;

    // Plans the report at `path` as the new job, after writing the old job's
    // document. False, with the reason told, when it cannot be planned or has
    // nothing to print; the job is then dropped.
    bool start(const std::string& path);
    // Ends the job: its document is written, the source closes, and `reason`
    // (when given) is told and kept for the windows to show.
    void drop(const std::string& reason = {});
    bool has_job() const { return m_has_job; }
    const std::string& report_path() const { return m_path; }
    // Why there is no job, when a report could not be taken.
    const std::string& drop_reason() const { return m_drop_reason; }
    // The pages the report prints as planned, counted by reading it through:
    // a report whose form feeds start pages of their own has more pages than
    // its lines fill, and the counter must never pass its total.
    int page_total() const { return m_page_total; }

    // Whether the report's file is still the one planned (its device, inode,
    // size and time of change). A changed file is planned again and shown from
    // its first page (job_changed), told in the status line, and the pages
    // printed of its earlier version are written as their own document,
    // where the status line says; false then, and
    // the caller goes no further. A file deleted while shown is told once;
    // the page on view, read from the open file, can still be printed, but
    // nothing that would have to be read again.
    bool check_source();
    bool source_deleted() const { return m_source_deleted; }

    // A page has been read and is neither printed nor stepped past.
    bool page_on_view() const;
    // Before a preview shows: makes sure a page is on view. A job whose pages
    // were all shown starts again from its first page. False when the job
    // failed (told, dropped).
    bool prepare_view();
    // Steps past the page on view to the next one. False when the job failed
    // or its file changed (the view shows why).
    bool step();
    // Where a step leaves the preview.
    enum class Stepped {
        Stopped,  // the job failed or its file changed: the view shows why
        AllShown, // past the report's last page: the preview has done its work
        OnView,   // the next page is on view
    };
    Stepped step_on();
    // Prints the page on view; it stays on view. False when nothing was
    // printed: the printer refused (told) or the file had changed.
    bool print_page_on_view();
    // Pages `first` to `last`, the page on view staying where it is. A range
    // backwards or past the report's end prints nothing and is told.
    bool print_pages(int first, int last);
    bool print_pages(const PageRange& range) { return print_pages(range.first, range.last); }
    // The page before the one on view, read again (past the report's last
    // page: the last). False when there is none, the job failed, or its file
    // changed (then shown afresh).
    bool step_back();
    bool can_step_back() const;

    // The pages of the last print action a printer failed, after the preview
    // had moved on; nothing when none failed since they were printed again.
    const std::optional<PageRange>& failed_pages() const { return m_failed_pages; }
    // Prints them again, as a range. False when nothing was printed.
    bool print_failed_again();

    // The range the preview proposes: from the page on view to the last.
    PageRange proposed_range() const;

    // The page on view as the text view shows it (the job's code page, lines
    // ended by CR LF); from now on the page is its screen form, and the
    // printer takes its PrintText. Nothing when no page is on view.
    std::optional<std::string> take_page_for_screen();
    // The report's file name, for a window's title; empty once it is gone.
    std::string report_file_name() const;

    // The preview opens and closes: when it closes, the PDF printer's
    // document is written.
    void begin_viewing();
    void end_viewing();

    // The page on view as the printer would get it if it were printed now.
    PageDescription page_as_printed() const;

    // Prints what `draw` draws (a sheet of the program's own, such as the
    // calibration page) as a document of its own titled `title`, on the
    // printer bound, through the same pages as a report's: the PDF printer's
    // document so far is written first, and this one at once. False, told,
    // when nothing was printed.
    bool print_sheet(const std::string& title, const std::function<void()>& draw);

    // Writes the PDF printer's document: before the printer changes or the
    // job ends. Nothing for a CUPS queue, whose jobs are sent at once.
    void end_document();

    // A new job was planned, the report planned again, or the job dropped:
    // windows show it afresh.
    Listeners<> job_changed;
    // What became of the pages printed, for the status line.
    Listeners<std::string> status_changed;
    // failed_pages() changed.
    Listeners<> failed_pages_changed;

private:
    bool read_next_page();
    // Why pages `first` to `last` would print nothing; nothing when they print.
    std::optional<std::string> range_refused(int first, int last) const;
    // Plans the report and counts its pages; the source is left at its start.
    void plan_and_count();
    bool plan_or_drop();
    // Plans the report again and reads up to page `page` (0: none).
    void reread_to(int page);
    // Prints what `draw` prints as the pages `pages`: into
    // the PDF printer's document or as a job of its own on the queue. False,
    // told, when the printer refused.
    bool print_with(const PageRange& pages, const std::function<void()>& draw);
    bool open_preview_document(const FileOutput& file);
    // False when `draw` drew no page: nothing is sent.
    bool send_to_queue(const PageRange& pages, const std::function<void()>& draw);
    void tell(const std::string& text);
    // end_document() without telling: what the status line would say, or
    // nothing when there was no document or it failed (told).
    std::optional<std::string> write_document();

    PrinterBinding& m_binding;
    WindowServices& m_services;
    std::string m_path;
    bool m_has_job = false;
    std::string m_drop_reason;
    int m_page_total = 0;
    bool m_source_deleted = false;
    std::unique_ptr<PreviewDocument> m_document; // the PDF printer's, while the preview prints
    int m_held_pages = 0; // printed into m_document, not all handed to it yet
    bool m_printed_while_viewing = false;
    std::list<std::unique_ptr<QueueJob>> m_jobs; // print actions on their way to a printer
    std::optional<PageRange> m_failed_pages;
    std::string m_sheet_title; // while print_sheet() prints: the title of its document
    WindowJobKeeping m_keeping;
};

} // namespace kvalon
