#include "ui/print_session.h"

#include "engine/error.h"
#include "engine/error_report.h"
#include "engine/file_checks.h"
#include "engine/filter_text.h"
#include "engine/messages.h"
#include "engine/plan_layout.h"
#include "engine/print_job.h"
#include "engine/printer_language.h"
#include "engine/printer_surface.h"
#include "engine/read_page.h"
#include "engine/source_file.h"
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
#include <filesystem>

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

PrintSession::PrintSession(PrinterBinding& binding, WindowServices& services)
    : m_binding(binding), m_services(services) {}

PrintSession::~PrintSession() {
    end_document();
}

bool PrintSession::start(const std::string& path) {
    tell({}); // the state of the last report's job is no word about this one
    end_document();
    source_file().close();
    m_has_job = false;
    m_path = path;
    m_keeping.start(path);
    m_drop_reason.clear();
    m_printed_while_viewing = false;
    m_source_deleted = false;
    job().SourcePath = path;
    if (!plan_or_drop()) {
        return false;
    }
    m_has_job = true;
    job_changed.notify();
    return true;
}

void PrintSession::drop(const std::string& reason) {
    end_document();
    source_file().close();
    m_has_job = false;
    m_page_total = 0;
    m_drop_reason = reason;
    if (!reason.empty()) {
        m_services.show_message(reason);
    }
    job_changed.notify();
}

// The count comes from the page reader itself, so it holds whatever makes the
// pages; the plan is then taken up again at the report's first line, from the
// same file.
void PrintSession::plan_and_count() {
    plan_report(m_path);
    const PrintJob planned = job();
    const FileIdentity scanned = source_file().identity();
    m_page_total = 0;
    while (!job().SourceDone) {
        read_page();
    }
    m_page_total = job().PageNumber;
    job() = planned;
    source_file().open(m_path);
    if (!(source_file().identity() == scanned)) {
        source_file().close();
        throw KvalonError(ErrorKind::File, m_path, messages::kChangedDuringJob);
    }
}

// A report that cannot be planned, or has no page, is dropped with the reason.
bool PrintSession::plan_or_drop() {
    try {
        plan_and_count();
    } catch (const KvalonError& error) {
        drop(message_for(error));
        return false;
    }
    if (m_page_total == 0) {
        drop(message_for(KvalonError(ErrorKind::EmptyReport, m_path)));
        return false;
    }
    return true;
}

bool PrintSession::check_source() {
    if (!m_has_job) {
        return true;
    }
    const std::optional<FileIdentity> now = file_identity(m_path);
    if (!now) {
        if (!m_source_deleted) {
            m_source_deleted = true;
            tell(messages::kReportDeleted + m_path + messages::kOnlyPageShown);
            job_changed.notify();
        }
        return true;
    }
    if (*now == source_file().identity()) {
        return true;
    }
    // What is on view is no longer what would print: the report is taken
    // afresh, and nothing prints until the user has seen it. The pages of
    // the version printed so far are a document of their own.
    const std::optional<std::string> written = write_document();
    m_source_deleted = false;
    if (!plan_or_drop()) {
        return false;
    }
    tell(written && *written != messages::kNothingPrinted
             ? messages::kReportChangedEarlierWritten + *written
             : messages::kReportChanged);
    job_changed.notify();
    return false;
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
    return check_source() && read_next_page();
}

PrintSession::Stepped PrintSession::step_on() {
    if (!step()) {
        return Stepped::Stopped;
    }
    const PrintJob& j = job();
    return j.PageText.empty() && j.SourceDone ? Stepped::AllShown : Stepped::OnView;
}

bool PrintSession::can_step_back() const {
    if (!m_has_job || m_source_deleted) {
        return false;
    }
    return page_on_view() ? job().PageNumber > 1 : job().PageNumber >= 1;
}

// The page before is read again from the report's start; past the last page
// the last one is shown again.
bool PrintSession::step_back() {
    if (!can_step_back() || !check_source()) {
        return false;
    }
    const int page = page_on_view() ? job().PageNumber - 1 : job().PageNumber;
    try {
        reread_to(page);
    } catch (const KvalonError& error) {
        drop(message_for(error));
        return false;
    }
    return true;
}

bool PrintSession::print_failed_again() {
    if (!m_failed_pages) {
        return false;
    }
    const PageRange pages = *m_failed_pages;
    m_failed_pages.reset();
    failed_pages_changed.notify();
    return print_pages(pages);
}

PageRange PrintSession::proposed_range() const {
    const PrintJob& j = job();
    return PageRange{j.PageNumber, std::max<int>(j.PageNumber, m_page_total)};
}

std::optional<std::string> PrintSession::take_page_for_screen() {
    PrintJob& j = job();
    if (j.PageText.empty()) {
        return std::nullopt;
    }
    std::string page = page_model(j).screen_page(j);
    j.PageText = filter_text(page, "Screen");
    return page;
}

std::string PrintSession::report_file_name() const {
    std::error_code error;
    if (m_path.empty() || !std::filesystem::exists(m_path, error)) {
        return {};
    }
    return std::filesystem::path(m_path).filename().string();
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
    if (!check_source()) {
        return false;
    }
    const int page = job().PageNumber;
    return print_with(PageRange{page, page}, [] { print_page(); });
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

void PrintSession::tell(const std::string& text) {
    status_changed.notify(text);
}

} // namespace kvalon
