#pragma once

#include "printing/document_sink.h"

#include <utility>
#include <vector>

namespace kvalon {

// A sink that keeps the pages it is given instead of printing them: the page
// view on screen draws what the printer would have been handed.
class PageCaptureSink final : public DocumentSink {
public:
    void begin(const DocumentInfo& info) override {
        m_info = info;
        m_open = true;
    }
    void add_page(const PageDescription& page) override { m_pages.push_back(page); }
    void finish() override { m_open = false; }
    void abandon() noexcept override {
        m_open = false;
        m_pages.clear();
    }
    bool is_open() const override { return m_open; }

    // The pages gathered so far; the sink is empty afterwards.
    std::vector<PageDescription> take() { return std::exchange(m_pages, {}); }
    // What the last document was begun with.
    const DocumentInfo& info() const { return m_info; }

private:
    std::vector<PageDescription> m_pages;
    DocumentInfo m_info;
    bool m_open = false;
};

} // namespace kvalon
