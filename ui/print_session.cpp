#include "ui/print_session.h"

#include "engine/error.h"
#include "engine/error_report.h"
#include "engine/file_checks.h"
#include "engine/messages.h"
#include "engine/plan_layout.h"
#include "engine/print_job.h"
#include "engine/printer_surface.h"
#include "engine/read_page.h"
#include "engine/source_file.h"
#include "printing/print_page.h"
#include "printing/qt/page_capture.h"
#include "ui/message_box.h"

namespace kvalon {

namespace {
void plan_report(const std::string& path) {
    if (!is_regular_file(path)) {
        throw KvalonError(ErrorKind::FileVanished, path);
    }
    printer().set_document_title(document_title(path));
    plan_layout();
}
} // namespace

bool PrintSession::start(const std::string& path) {
    end_document();
    source_file().close();
    m_has_job = false;
    m_path = path;
    m_drop_reason.clear();
    m_printed_while_viewing = false;
    job().SourcePath = path;
    try {
        plan_report(path);
    } catch (const KvalonError& error) {
        drop(message_for(error));
        return false;
    }
    // In the ESC/P mode a report whose bytes print nothing has no page.
    if (job().PageText.empty() &&
        (source_file().at_end() || (job().EscpMode && job().PageCount == 0))) {
        drop(message_for(KvalonError(ErrorKind::EmptyReport, path)));
        return false;
    }
    m_has_job = true;
    emit job_changed();
    return true;
}

void PrintSession::drop(const std::string& reason) {
    end_document();
    source_file().close();
    m_has_job = false;
    m_drop_reason = reason;
    if (!reason.empty()) {
        show_message(reason);
    }
    emit job_changed();
}

bool PrintSession::page_on_view() const {
    return m_has_job && !job().PageText.empty();
}

bool PrintSession::prepare_view() {
    if (!m_has_job) {
        return false;
    }
    if (page_on_view()) {
        return true;
    }
    const PrintJob& j = job();
    if (j.SourceDone && j.PageNumber > 0) {
        // Every page was shown: the report is offered again from its start.
        try {
            reread_to(0);
        } catch (const KvalonError& error) {
            drop(message_for(error));
            return false;
        }
    }
    return j.SourceDone || read_next_page();
}

bool PrintSession::step() {
    return read_next_page();
}

bool PrintSession::read_next_page() {
    if (!m_has_job || !source_file().is_open()) {
        drop();
        return false;
    }
    try {
        read_page();
        return true;
    } catch (const KvalonError& error) {
        drop(message_for(error));
        return false;
    }
}

bool PrintSession::print_page_on_view() {
    if (!page_on_view()) {
        return true;
    }
    try {
        print_page();
    } catch (const KvalonError& error) {
        // What the printer had of this document is gone with it.
        printer().abandon_document();
        m_in_document = 0;
        show_message(message_for(error));
        return false;
    }
    ++m_in_document;
    m_printed_while_viewing = true;
    if (job().SourceDone) {
        tell_sent(m_in_document);
        m_in_document = 0;
    }
    return true;
}

bool PrintSession::print_pages(int first, int last) {
    if (!page_on_view()) {
        return false;
    }
    end_document();
    m_printed_while_viewing = true;
    const int on_view = job().PageNumber;
    int sent = 0;
    bool printed = true;
    try {
        reread_to(0);
        PrintJob& j = job();
        while (!j.SourceDone && j.PageNumber < last) {
            read_page();
            if (j.PageNumber >= first && !j.PageText.empty()) {
                print_page();
                ++sent;
            }
        }
        end_printed_pages();
    } catch (const KvalonError& error) {
        printer().abandon_document();
        show_message(message_for(error));
        printed = false;
    }
    try {
        reread_to(on_view);
    } catch (const KvalonError& error) {
        drop(message_for(error));
        return false;
    }
    if (printed) {
        tell_sent(sent);
    }
    return printed;
}

bool PrintSession::print_page_on_view_alone() {
    if (!page_on_view()) {
        return false;
    }
    end_document();
    m_printed_while_viewing = true;
    try {
        print_page();
        end_printed_pages();
    } catch (const KvalonError& error) {
        printer().abandon_document();
        show_message(message_for(error));
        return false;
    }
    tell_sent(1);
    return true;
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
    if (m_in_document == 0 || !has_printer()) {
        return;
    }
    const int pages = m_in_document;
    m_in_document = 0;
    try {
        if (!end_printed_pages()) {
            printer().finish_document();
        }
    } catch (const KvalonError& error) {
        printer().abandon_document();
        show_message(message_for(error));
        return;
    }
    tell_sent(pages);
}

// The same file, planned the same way, read again from its start: a page
// number means the same page as before, or the job fails as changed.
void PrintSession::reread_to(int page) {
    const FileIdentity before = source_file().identity();
    plan_layout();
    if (!(source_file().identity() == before)) {
        throw KvalonError(ErrorKind::File, m_path, messages::kChangedDuringJob);
    }
    PrintJob& j = job();
    while (j.PageNumber < page && !j.SourceDone) {
        read_page();
    }
}

PageDescription PrintSession::page_as_printed() const {
    if (!page_on_view()) {
        return {};
    }
    try {
        std::vector<PageDescription> pages = capture_pages([] { print_page(); });
        return pages.empty() ? PageDescription() : std::move(pages.front());
    } catch (const KvalonError&) {
        return {};
    }
}

void PrintSession::tell_sent(int pages) {
    if (pages == 0) {
        tell(messages::kNothingPrinted);
        return;
    }
    tell(std::to_string(pages) + messages::kPagesSentTo + printer().device_name());
}

void PrintSession::tell(const std::string& text) {
    emit status_changed(QString::fromStdString(text));
}

} // namespace kvalon
