#pragma once

#include "printing/page_description.h"

#include <QObject>

#include <optional>
#include <string>

namespace kvalon {

// The interactive job under the windows, from the choice of a report until
// another is chosen or the job is dropped. The page position lives in the job
// record and the open source as everywhere; the session keeps what the
// windows need besides: which pages went into the open document, and that
// every printed page reaches the printer as soon as the user is done with it.
//
// Failures are told to the user here (message box); the calls then return
// false and leave the session in a state the windows can show.
class PrintSession final : public QObject {
    Q_OBJECT
public:
    PrintSession() = default;

    // Plans the report at `path` as the new job, after handing the old job's
    // printed pages to the printer. False, with the reason told, when it
    // cannot be planned or has nothing to print; the job is then dropped.
    bool start(const std::string& path);
    // Ends the job: its printed pages go to the printer, the source closes,
    // and `reason` (when given) is told and kept for the windows to show.
    void drop(const std::string& reason = {});
    bool has_job() const { return m_has_job; }
    const std::string& report_path() const { return m_path; }
    // Why there is no job, when a report could not be taken.
    const std::string& drop_reason() const { return m_drop_reason; }

    // A page has been read and is neither printed nor stepped past.
    bool page_on_view() const;
    // Before a preview shows: makes sure a page is on view. A job whose pages
    // were all shown starts again from its first page. False when the job
    // failed (told, dropped).
    bool prepare_view();
    // Steps past the page on view to the next one. False when the job failed.
    bool step();
    // Prints the page on view into the open document (the document ends with
    // the report's last page). False when the printer failed: told, and the
    // page stays on view to be printed again.
    bool print_page_on_view();
    // Pages `first` to `last` as one document of their own, the page on view
    // staying where it is. The pages printed one by one go out first.
    bool print_pages(int first, int last);
    // The page on view alone as one document; it stays on view.
    bool print_page_on_view_alone();

    // The preview opens and closes: when it closes, the pages it printed go
    // to the printer at once as one document, with the footer under the last.
    void begin_viewing();
    void end_viewing();

    // The page on view as the printer would get it if it were printed now.
    PageDescription page_as_printed() const;

    // Hands the pages printed one by one to the printer as one document, with
    // the footer under the last: before the printer changes or the job ends.
    void end_document();

signals:
    // A new job was planned or the job was dropped: windows show it afresh.
    void job_changed();
    // What became of the last document, for the status line.
    void status_changed(const QString& text);

private:
    bool read_next_page();
    // Plans the report again and reads up to page `page` (0: none).
    void reread_to(int page);
    void tell_sent(int pages);
    void tell(const std::string& text);

    std::string m_path;
    bool m_has_job = false;
    std::string m_drop_reason;
    int m_in_document = 0; // pages printed one by one into the open document
    bool m_printed_while_viewing = false;
};

} // namespace kvalon
