#include "printing/qt/qt_pdf_file_sink.h"

#include "engine/error.h"
#include "engine/messages.h"
#include "printing/pdf_target_file.h"
#include "printing/qt/face_cache.h"
#include "printing/qt/paged_document.h"

#include <QFile>
#include <QMarginsF>
#include <QPdfWriter>

namespace kvalon {

// Qt writes through our own descriptor of the exclusively created file, never
// by name.
struct QtPdfFileSink::Document {
    Document(const std::string& target, int dpi, FaceCache& faces)
        : file(target), writer(&device), pages(writer, dpi, faces) {}

    PdfTargetFile file;
    QFile device;
    QPdfWriter writer;
    PagedDocument pages;
};

QtPdfFileSink::QtPdfFileSink(std::string target, int dpi, std::shared_ptr<FaceCache> faces)
    : m_target(std::move(target)), m_dpi(dpi), m_faces(std::move(faces)) {}

QtPdfFileSink::~QtPdfFileSink() {
    abandon();
}

void QtPdfFileSink::begin(const DocumentInfo& info) {
    abandon();
    m_document = std::make_unique<Document>(m_target, m_dpi, *m_faces);
    if (!m_document->device.open(m_document->file.fd(), QIODevice::WriteOnly,
                                 QFileDevice::DontCloseHandle)) {
        fail(messages::kDocumentNotStarted);
    }
    QPdfWriter& writer = m_document->writer;
    writer.setResolution(m_dpi);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setTitle(QString::fromStdString(info.title));
}

void QtPdfFileSink::add_page(const PageDescription& page) {
    if (!m_document->pages.add_page(page)) {
        fail(m_document->pages.active() ? messages::kPageNotStarted
                                        : messages::kDocumentNotStarted);
    }
}

void QtPdfFileSink::finish() {
    if (!m_document->pages.end()) {
        fail(messages::kDocumentNotEnded);
    }
    if (!m_document->device.flush()) {
        fail(messages::kDocumentNotEnded);
    }
    m_document->device.close();
    m_document->file.commit();
    m_document.reset();
}

void QtPdfFileSink::abandon() noexcept {
    if (m_document) {
        m_document->pages.stop();
        m_document.reset();
    }
}

bool QtPdfFileSink::is_open() const {
    return m_document != nullptr;
}

// A failing PDF printer is a file that cannot be written; the user is told
// which file and, where the system knows it, why.
void QtPdfFileSink::fail(const std::string& reason) {
    const std::string detail = m_document ? m_document->file.failure_reason(reason) : reason;
    abandon();
    throw KvalonError(ErrorKind::FileWrite, m_target, detail);
}

} // namespace kvalon
