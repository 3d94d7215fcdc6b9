#pragma once

#include "printing/document_sink.h"
#include "printing/qt/spool_folder.h"

#include <memory>
#include <string>

class QPrinter;

namespace kvalon {

class FaceCache;
class PagedDocument;

// A CUPS queue through Qt's print support. The queue is asked before a
// document begins (stopped, refusing or missing queues fail at once); after it
// ends, the job is followed for up to `wait_seconds` until the printer has
// taken it: a job the service did not take, or that was aborted, cancelled or
// stopped, is a failure; one still waiting at the end is told to the user.
class QtCupsQueueSink final : public DocumentSink {
public:
    QtCupsQueueSink(std::string queue, std::unique_ptr<QPrinter> printer,
                    std::shared_ptr<FaceCache> faces, int wait_seconds);
    ~QtCupsQueueSink() override;

    void begin(const DocumentInfo& info) override;
    void add_page(const PageDescription& page) override;
    void finish() override;
    void abandon() noexcept override;
    bool is_open() const override;

private:
    [[noreturn]] void fail(const std::string& reason);

    std::string m_queue;
    std::unique_ptr<QPrinter> m_printer;
    std::shared_ptr<FaceCache> m_faces;
    std::unique_ptr<PagedDocument> m_pages;
    SpoolFolder m_spool;
    std::string m_title;
    int m_wait_seconds = 0;
    int m_jobs_before = 0; // the newest job of ours on the queue before this document
};

} // namespace kvalon
