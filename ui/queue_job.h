#pragma once

#include "printing/destination.h"
#include "printing/document_sink.h"
#include "printing/page_description.h"

#include <QObject>
#include <QString>

#include <memory>
#include <thread>
#include <vector>

namespace kvalon {

// The pages of one print action for a printer and where they go.
struct QueueDocument {
    std::shared_ptr<const Destination> destination;
    DocumentInfo info; // the job's title, copies and planned paper
    std::vector<PageDescription> pages;
};

// One print action's pages on their way to a printer: made into a job by the
// destination's own page sink, sent and followed on a thread
// of its own, so that the windows never wait for the print service. What becomes of
// it is told as it happens: progressed() for the status line (the job's state
// and the printer's own words as they change), failed() with the whole
// message when the job ends without printing, and ended() last. The thread
// has the pages it was given and never touches the job record or the windows.
class QueueJob final : public QObject {
    Q_OBJECT
public:
    explicit QueueJob(QueueDocument document, QObject* parent = nullptr);
    // Stops following at once and tells nothing more; a document still being
    // sent is sent whole first, so that nothing the user printed is lost.
    ~QueueJob() override;
    QueueJob(const QueueJob&) = delete;
    QueueJob& operator=(const QueueJob&) = delete;

signals:
    void progressed(const QString& text);
    void failed(const QString& message);
    void ended();

private:
    struct Mailbox;
    static void run(const std::shared_ptr<Mailbox>& mailbox, QueueDocument document);

    std::shared_ptr<Mailbox> m_mailbox;
    std::thread m_thread;
};

} // namespace kvalon
