#include "printing/qt/qt_cups_queue_sink.h"

#include "engine/error.h"
#include "engine/messages.h"
#include "engine/notice.h"
#include "printing/cups_job_check.h"
#include "printing/qt/face_cache.h"
#include "printing/qt/paged_document.h"

#include <QPrinter>

#include <chrono>

namespace kvalon {

QtCupsQueueSink::QtCupsQueueSink(std::string queue, std::unique_ptr<QPrinter> printer,
                                 std::shared_ptr<FaceCache> faces, int wait_seconds)
    : m_queue(std::move(queue)), m_printer(std::move(printer)), m_faces(std::move(faces)),
      m_wait_seconds(wait_seconds > 0 ? wait_seconds : 0) {}

QtCupsQueueSink::~QtCupsQueueSink() {
    abandon();
}

// A stopped or vanished queue would take the document silently or drop it.
void QtCupsQueueSink::begin(const DocumentInfo& info) {
    abandon();
    if (const std::optional<std::string> refusal = queue_refusal(m_queue)) {
        throw KvalonError(ErrorKind::Printer, m_queue, *refusal);
    }
    m_jobs_before = newest_job_id(m_queue).value_or(0);
    m_title = info.title;
    m_printer->setDocName(QString::fromStdString(info.title));
    m_printer->setCopyCount(info.copies > 0 ? info.copies : 1);
    m_pages = std::make_unique<PagedDocument>(*m_printer, m_printer->resolution(), *m_faces);
}

// The first page opens Qt's spool file: in a folder of ours, so that an ending
// signal removes it too.
void QtCupsQueueSink::add_page(const PageDescription& page) {
    const bool added = m_pages->active() ? m_pages->add_page(page)
                                         : m_spool.open_in([&] { return m_pages->add_page(page); });
    if (!added) {
        fail(m_pages->active() ? messages::kPageNotStarted : messages::kDocumentNotStarted);
    }
}

// Qt hands the document to CUPS without saying whether it was taken, nor
// whether the printer then printed it: the job is looked up and followed.
void QtCupsQueueSink::finish() {
    const bool ended = m_pages->end() && m_printer->printerState() != QPrinter::Error;
    m_pages.reset();
    m_spool.remove();
    if (!ended) {
        fail(messages::kDocumentNotEnded);
    }
    const SubmittedJob job = submitted_job(m_queue, m_jobs_before, m_title);
    if (job.id == 0) {
        throw KvalonError(ErrorKind::Printer, m_queue, job.refusal);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(m_wait_seconds);
    const JobOutcome outcome = follow_job(m_queue, job.id, deadline);
    if (outcome.state == JobOutcome::State::Failed) {
        throw KvalonError(ErrorKind::Printer, m_queue, outcome.reason);
    }
    if (outcome.state == JobOutcome::State::StillWaiting) {
        tell_user(messages::kStoppedWatching + m_queue + messages::kStoppedWatchingAfter +
                  std::to_string(m_wait_seconds) + messages::kStoppedWatchingNotYetPrinted);
    }
}

void QtCupsQueueSink::abandon() noexcept {
    if (m_pages) {
        if (m_pages->active()) {
            m_printer->abort();
        }
        m_pages->stop();
        m_pages.reset();
    }
    m_spool.remove();
}

bool QtCupsQueueSink::is_open() const {
    return m_pages != nullptr;
}

void QtCupsQueueSink::fail(const std::string& reason) {
    abandon();
    throw KvalonError(ErrorKind::Printer, m_queue, reason);
}

} // namespace kvalon
