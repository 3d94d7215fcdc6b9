#include "printing/qt/qt_cups_queue_sink.h"

#include "engine/error.h"
#include "engine/messages.h"
#include "printing/cups_job_check.h"
#include "printing/qt/face_cache.h"
#include "printing/qt/paged_document.h"

#include <QPrinter>

namespace kvalon {

QtCupsQueueSink::QtCupsQueueSink(std::string queue, std::unique_ptr<QPrinter> printer,
                                 std::shared_ptr<FaceCache> faces)
    : m_queue(std::move(queue)), m_printer(std::move(printer)), m_faces(std::move(faces)) {}

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

void QtCupsQueueSink::add_page(const PageDescription& page) {
    if (!m_pages->add_page(page)) {
        fail(m_pages->active() ? messages::kPageNotStarted : messages::kDocumentNotStarted);
    }
}

// Qt hands the document to CUPS without saying whether it was taken.
void QtCupsQueueSink::finish() {
    const bool ended = m_pages->end() && m_printer->printerState() != QPrinter::Error;
    m_pages.reset();
    if (!ended) {
        fail(messages::kDocumentNotEnded);
    }
    if (const auto refusal = job_refusal(m_queue, m_jobs_before, m_title)) {
        throw KvalonError(ErrorKind::Printer, m_queue, *refusal);
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
}

bool QtCupsQueueSink::is_open() const {
    return m_pages != nullptr;
}

void QtCupsQueueSink::fail(const std::string& reason) {
    abandon();
    throw KvalonError(ErrorKind::Printer, m_queue, reason);
}

} // namespace kvalon
