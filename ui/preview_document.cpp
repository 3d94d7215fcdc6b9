#include "ui/preview_document.h"

#include "engine/error.h"
#include "printing/page_capture.h"
#include "printing/print_page.h"

namespace kvalon {

// A sink that keeps its document open across the documents the surface thinks
// it draws: print_page() ends a document after a report's last page, but the
// preview's document goes on until the preview closes.
class HeldDocumentSink final : public DocumentSink {
public:
    explicit HeldDocumentSink(std::unique_ptr<DocumentSink> file) : m_file(std::move(file)) {}

    void begin(const DocumentInfo& info) override {
        if (!m_file->is_open()) {
            m_file->begin(info);
        }
        m_drawing = true;
    }
    void add_page(const PageDescription& page) override {
        m_file->add_page(page);
        ++m_pages;
    }
    void finish() override { m_drawing = false; }
    void abandon() noexcept override {
        m_drawing = false;
        m_file->abandon();
        m_pages = 0;
    }
    bool is_open() const override { return m_drawing; }

    int pages() const { return m_pages; }
    void complete() {
        if (m_file->is_open()) {
            m_file->finish();
        }
    }

private:
    std::unique_ptr<DocumentSink> m_file;
    bool m_drawing = false;
    int m_pages = 0;
};

PreviewDocument::PreviewDocument(std::unique_ptr<DocumentSink> file, std::string path,
                                 const std::string& title)
    : m_path(std::move(path)) {
    auto sink = std::make_unique<HeldDocumentSink>(std::move(file));
    m_sink = sink.get();
    m_surface = surface_like_printer(std::move(sink));
    m_surface->set_document_title(title);
}

PreviewDocument::~PreviewDocument() {
    m_surface->abandon_document();
}

int PreviewDocument::pages() const {
    return m_sink->pages();
}

void PreviewDocument::print(const std::function<void()>& draw) {
    try {
        const ScopedPrinter bound(*m_surface);
        draw();
    } catch (const KvalonError&) {
        m_surface->abandon_document();
        throw;
    }
}

void PreviewDocument::finish() {
    try {
        const ScopedPrinter bound(*m_surface);
        if (!end_printed_pages()) {
            m_surface->finish_document();
        }
        m_sink->complete();
    } catch (const KvalonError&) {
        m_surface->abandon_document();
        throw;
    }
}

} // namespace kvalon
