#include "ui/print_session.h"

#include "engine/error.h"
#include "engine/error_report.h"
#include "engine/file_checks.h"
#include "engine/messages.h"
#include "engine/print_job.h"
#include "engine/read_page.h"
#include "printing/page_capture.h"
#include "printing/page_capture_sink.h"
#include "printing/print_page.h"
#include "printing/printer_binding.h"
#include "ui/captions.h"
#include "ui/preview_controls.h"
#include "ui/preview_document.h"
#include "ui/queue_job.h"
#include "ui/window_services.h"

#include <algorithm>
#include <ctime>
#include <filesystem>

// The pages of a print session go out here: into the preview's PDF file or
// onto a queue, a range at a time.

namespace kvalon {

namespace {

// "ОТЧЕТ.pdf" taken: "ОТЧЕТ-2.pdf", or the first number after it that is free.
std::string free_name_beside(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    const bool has_suffix = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    const std::string stem = has_suffix ? path.substr(0, dot) : path;
    const std::string suffix = has_suffix ? path.substr(dot) : std::string();
    for (int number = 2;; ++number) {
        std::string candidate = stem + "-" + std::to_string(number) + suffix;
        if (path_kind(candidate) == PathKind::Missing) {
            return candidate;
        }
    }
}

} // namespace

// A range that prints nothing is told, and nothing goes to the printer: a
// queue would print an empty sheet and call it printed.
std::optional<std::string> PrintSession::range_refused(int first, int last) const {
    if (last < first) {
        return messages::kRangeBackwards + std::to_string(first) + messages::kRangeBackwardsTo +
               std::to_string(last) + messages::kNothingPrintedEnd;
    }
    if (first < 1 || first > m_page_total) {
        return messages::kReportHas + std::to_string(m_page_total) + messages::kNoSuchPages +
               std::to_string(first) + "-" + std::to_string(last) + messages::kNothingPrintedEnd;
    }
    return std::nullopt;
}

bool PrintSession::print_pages(int first, int last) {
    if (!page_on_view() || !check_source()) {
        return false;
    }
    if (const std::optional<std::string> refused = range_refused(first, last)) {
        tell(messages::kNothingPrinted);
        m_services.show_message(*refused);
        return false;
    }
    if (m_source_deleted) {
        tell(messages::kReportDeleted + m_path + messages::kOnlyPageShown);
        return false;
    }
    last = std::min(last, m_page_total);
    const int on_view = job().PageNumber;
    bool printed = false;
    try {
        reread_to(0);
        printed = print_with(PageRange{first, last}, [first, last] {
            PrintJob& j = job();
            while (!j.SourceDone && j.PageNumber < last) {
                read_page();
                if (j.PageNumber >= first) {
                    print_page();
                }
            }
        });
        reread_to(on_view);
    } catch (const KvalonError& error) {
        drop(message_for(error));
        return false;
    }
    return printed;
}

bool PrintSession::print_with(const PageRange& pages, const std::function<void()>& draw) {
    try {
        if (const FileOutput* file = m_binding.destination().file_output()) {
            if (!open_preview_document(*file)) {
                return false;
            }
            m_document->print(draw);
            m_held_pages += pages.last - pages.first + 1;
            tell(std::to_string(m_held_pages) + messages::kPagesHeldForFile + m_document->path());
        } else if (!send_to_queue(pages, draw)) {
            tell(messages::kNothingPrinted);
            return false;
        }
    } catch (const KvalonError& error) {
        // What the PDF printer had of its document is gone with it.
        m_document.reset();
        m_services.show_message(message_for(error));
        return false;
    }
    m_printed_while_viewing = true;
    if (m_sheet_title.empty()) {
        const FileOutput* file = m_binding.destination().file_output();
        m_keeping.printed(
            m_services.job_history(), job(), file != nullptr ? "" : m_binding.destination().name(),
            file != nullptr ? file->path() : "", pages.last - pages.first + 1, std::time(nullptr));
    }
    return true;
}

// The first page printed into a file that is there already asks first: the
// file is replaced, or the pages go to a new one beside it, or nothing prints.
bool PrintSession::open_preview_document(const FileOutput& file) {
    if (m_document) {
        return true;
    }
    std::string path = file.path();
    if (path_kind(path) != PathKind::Missing) {
        const std::string offered = free_name_beside(path);
        enum Answer { Replace, NewFile, Cancel };
        Question question;
        question.text = messages::kPdfExists + path + messages::kPdfExistsReplace + offered;
        question.answers = {captions::kReplace, captions::kNewFile, captions::kCancelAnswer};
        question.cancel = Cancel;
        question.safe = NewFile;
        question.unattended = NewFile;
        const int answer = m_services.ask_question(question);
        if (answer == Cancel) {
            tell(messages::kNothingPrinted);
            return false;
        }
        if (answer == NewFile) {
            path = offered;
        }
    }
    m_document = std::make_unique<PreviewDocument>(file.make_file_sink(path), path,
                                                   m_sheet_title.empty() ? document_title(m_path)
                                                                         : m_sheet_title);
    m_held_pages = 0;
    return true;
}

// The pages are drawn here, where the job record lives; making the job,
// sending and following it happen beside the windows.
bool PrintSession::send_to_queue(const PageRange& pages, const std::function<void()>& draw) {
    QueueDocument document;
    document.destination = m_binding.shared_destination();
    {
        auto capture = std::make_unique<PageCaptureSink>();
        PageCaptureSink& captured = *capture;
        // One copy drawn: the queue makes the copies.
        const std::unique_ptr<PrinterSurface> surface = surface_like_printer(std::move(capture), 1);
        surface->set_document_title(m_sheet_title.empty()
                                        ? document_title(m_path) + " " + pages_caption(pages)
                                        : m_sheet_title);
        {
            const ScopedPrinter bound(*surface);
            draw();
            surface->finish_document();
        }
        document.info = captured.info();
        document.pages = captured.take();
    }
    if (document.pages.empty()) {
        return false; // a job of no pages prints an empty sheet
    }
    document.info.copies = document.destination->copies();
    // A job that has ended goes when the next one comes, or with the session.
    m_jobs.remove_if([](const std::unique_ptr<QueueJob>& sent) { return sent->has_ended(); });
    QueueJobEvents events;
    events.progressed = [this](const std::string& text) { tell(text); };
    // The preview has moved on meanwhile: the pages are offered to be printed again.
    events.failed = [this, pages](const std::string& message) {
        m_failed_pages = pages;
        failed_pages_changed.notify();
        m_services.show_message(message);
    };
    events.ended = [] {};
    m_jobs.push_back(std::make_unique<QueueJob>(std::move(document), m_services, events));
    return true;
}

bool PrintSession::print_sheet(const std::string& title, const std::function<void()>& draw) {
    end_document();
    m_sheet_title = title;
    const bool viewed_printing = m_printed_while_viewing;
    const bool printed = print_with(PageRange{1, 1}, draw);
    m_printed_while_viewing = viewed_printing;
    if (printed) {
        end_document();
    }
    m_sheet_title.clear();
    return printed;
}

void PrintSession::begin_viewing() {
    m_printed_while_viewing = false;
}

void PrintSession::end_viewing() {
    end_document();
    if (!m_printed_while_viewing && m_has_job) {
        tell(messages::kNothingPrinted);
    }
}

void PrintSession::end_document() {
    if (const std::optional<std::string> written = write_document()) {
        tell(*written);
    }
}

std::optional<std::string> PrintSession::write_document() {
    if (!m_document) {
        return std::nullopt;
    }
    const std::unique_ptr<PreviewDocument> document = std::move(m_document);
    try {
        document->finish();
    } catch (const KvalonError& error) {
        m_services.show_message(message_for(error));
        return std::nullopt;
    }
    const int pages = document->pages();
    return pages == 0 ? messages::kNothingPrinted
                      : std::to_string(pages) + messages::kPagesSentTo + "PDF: " + document->path();
}

} // namespace kvalon
